#include "synth/script_sandbox.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
}

namespace {

constexpr char ScriptChunk[] = "=script";
constexpr char HelpersChunk[] = "=helpers";

// Lua's memory, counted; past the limit an allocation fails as if the system
// had none left, which Lua turns into an error. Once over, the run counts as
// over even if the script catches that error.
struct Budget {
    size_t used = 0;
    bool exceeded = false;
};

void* Allocate(void* data, void* block, size_t oldSize, size_t newSize) {
    Budget& budget = *static_cast<Budget*>(data);
    if (newSize == 0) {
        std::free(block);
        budget.used -= block ? oldSize : 0;
        return nullptr;
    }
    const size_t before = block ? oldSize : 0;
    if (newSize > before && budget.used + (newSize - before) > ScriptMemoryLimit) {
        budget.exceeded = true;
        return nullptr;
    }
    void* moved = std::realloc(block, newSize);
    if (moved != nullptr) budget.used = budget.used - before + newSize;
    return moved;
}

// "script:7: x" is "line 7: x"; a message from the helpers or from a library
// function gets the line of the script that called them.
int LocateError(lua_State* L) {
    const char* text = lua_tostring(L, 1);
    std::string message = text ? text : "the script raised an error that is not a text";
    const std::string ours = std::string(ScriptChunk + 1) + ":";
    const std::string helpers = std::string(HelpersChunk + 1) + ":";
    if (message.compare(0, ours.size(), ours) == 0) {
        lua_pushstring(L, ("line " + message.substr(ours.size())).c_str());
        return 1;
    }
    if (message.compare(0, helpers.size(), helpers) == 0) {
        const size_t end = message.find(": ", helpers.size());
        if (end != std::string::npos) message.erase(0, end + 2);
    }
    lua_Debug frame;
    for (int level = 1; lua_getstack(L, level, &frame); ++level) {
        lua_getinfo(L, "Sl", &frame);
        if (std::strcmp(frame.source, ScriptChunk) == 0 && frame.currentline > 0) {
            message = "line " + std::to_string(frame.currentline) + ": " + message;
            break;
        }
    }
    lua_pushstring(L, message.c_str());
    return 1;
}

// load and loadstring: text only, never a precompiled chunk.
int LoadText(lua_State* L) {
    std::string text;
    if (lua_type(L, 1) == LUA_TFUNCTION) {
        for (;;) {
            lua_pushvalue(L, 1);
            lua_call(L, 0, 1);
            size_t size = 0;
            const char* piece = lua_tolstring(L, -1, &size);
            if (piece == nullptr || size == 0) break;
            text.append(piece, size);
            lua_pop(L, 1);
        }
    } else {
        size_t size = 0;
        const char* whole = luaL_checklstring(L, 1, &size);
        text.assign(whole, size);
    }
    const char* name = luaL_optstring(L, 2, "=(load)");
    if (luaL_loadbufferx(L, text.data(), text.size(), name, "t") == 0) return 1;
    lua_pushnil(L);
    lua_insert(L, -2);
    return 2;
}

int Silent(lua_State*) { return 0; }

void Open(lua_State* L, lua_CFunction open, const char* name) {
    lua_pushcfunction(L, open);
    lua_pushstring(L, name);
    lua_call(L, 1, 0);
}

void SetGlobal(lua_State* L, const char* name, lua_CFunction f) {
    if (f == nullptr)
        lua_pushnil(L);
    else
        lua_pushcfunction(L, f);
    lua_setglobal(L, name);
}

// The base, table, string, math and bit libraries and the compiler, without
// anything that reaches outside the state or into the interpreter; every math
// function is a global too.
void OpenSandbox(lua_State* L) {
    Open(L, luaopen_base, "");
    Open(L, luaopen_table, LUA_TABLIBNAME);
    Open(L, luaopen_string, LUA_STRLIBNAME);
    Open(L, luaopen_math, LUA_MATHLIBNAME);
    Open(L, luaopen_bit, LUA_BITLIBNAME);
    Open(L, luaopen_jit, LUA_JITLIBNAME);
    for (const char* name : {"jit", "dofile", "loadfile", "newproxy", "module", "require"})
        SetGlobal(L, name, nullptr);
    SetGlobal(L, "load", LoadText);
    SetGlobal(L, "loadstring", LoadText);
    SetGlobal(L, "print", Silent);
    lua_getglobal(L, LUA_STRLIBNAME);
    lua_pushnil(L);
    lua_setfield(L, -2, "dump");
    lua_pop(L, 1);
    lua_getglobal(L, LUA_MATHLIBNAME);
    for (lua_pushnil(L); lua_next(L, -2) != 0;) {
        lua_pushvalue(L, -2);
        lua_insert(L, -2);
        lua_settable(L, LUA_GLOBALSINDEX);
    }
    lua_pop(L, 1);
}

// Runs the chunk or the function on top of the stack with `args` arguments
// below it, leaving one result; false with the message in `error`.
bool Call(lua_State* L, int args, std::string& error) {
    const int base = lua_gettop(L) - args;
    lua_pushcfunction(L, LocateError);
    lua_insert(L, base);
    const int status = lua_pcall(L, args, 1, base);
    lua_remove(L, base);
    if (status == 0) return true;
    error = lua_tostring(L, -1) ? lua_tostring(L, -1) : "the script failed";
    lua_pop(L, 1);
    return false;
}

bool Load(lua_State* L, const std::string& text, const char* chunk, std::string& error) {
    if (luaL_loadbufferx(L, text.data(), text.size(), chunk, "t") == 0) return true;
    lua_pushcfunction(L, LocateError);
    lua_insert(L, -2);
    lua_call(L, 1, 1);
    error = lua_tostring(L, -1);
    lua_pop(L, 1);
    return false;
}

// The table generate(wt) gets for `frame`: a copy of the state with the
// frame's number and the table's shape.
void PushFrameTable(lua_State* L, int state, int frame, const ScriptRequest& request) {
    lua_newtable(L);
    for (lua_pushnil(L); lua_next(L, state) != 0;) {
        lua_pushvalue(L, -2);
        lua_insert(L, -2);
        lua_rawset(L, -4);
    }
    lua_pushinteger(L, frame);
    lua_setfield(L, -2, "frame");
    lua_pushinteger(L, request.frames);
    lua_setfield(L, -2, "frame_count");
    lua_pushinteger(L, request.samples);
    lua_setfield(L, -2, "sample_count");
}

// Takes the frame's samples from the table generate returned.
bool TakeFrame(lua_State* L, int frame, const ScriptRequest& request, float* out,
               std::string& error) {
    const std::string where = "frame " + std::to_string(frame) + ": ";
    if (!lua_istable(L, -1)) {
        error = where + "generate(wt) returned " + luaL_typename(L, -1) + ", not a table";
        return false;
    }
    for (int i = 1; i <= request.samples; ++i) {
        lua_rawgeti(L, -1, i);
        if (lua_type(L, -1) != LUA_TNUMBER) {
            error = where + "value " + std::to_string(i) + " is " + luaL_typename(L, -1) +
                    ", not a number";
            return false;
        }
        out[i - 1] = static_cast<float>(lua_tonumber(L, -1));
        lua_pop(L, 1);
    }
    lua_pop(L, 1);
    return true;
}

// init(wt) and generate(wt) for every frame; the state stays at stack index 1.
bool Generate(lua_State* L, const ScriptRequest& request, ScriptAnswer& answer) {
    lua_newtable(L);
    lua_pushinteger(L, request.frames);
    lua_setfield(L, -2, "frame_count");
    lua_pushinteger(L, request.samples);
    lua_setfield(L, -2, "sample_count");
    lua_getglobal(L, "init");
    if (lua_isfunction(L, -1)) {
        lua_insert(L, -2);
        if (!Call(L, 1, answer.error)) return false;
        if (!lua_istable(L, -1)) {
            answer.error =
                "init(wt) returned " + std::string(luaL_typename(L, -1)) + ", not a table";
            return false;
        }
    } else {
        lua_pop(L, 1);
    }
    lua_getfield(L, 1, "name");
    if (lua_type(L, -1) == LUA_TSTRING) answer.name = lua_tostring(L, -1);
    answer.name.resize(std::min(answer.name.size(), ScriptMaxNameBytes));
    lua_pop(L, 1);
    answer.values.resize(size_t(request.frames) * size_t(request.samples));
    for (int frame = 1; frame <= request.frames; ++frame) {
        lua_getglobal(L, "generate");
        if (!lua_isfunction(L, -1)) {
            answer.error = "the script has no function generate(wt)";
            return false;
        }
        PushFrameTable(L, 1, frame, request);
        float* out = answer.values.data() + size_t(frame - 1) * size_t(request.samples);
        if (!Call(L, 1, answer.error) || !TakeFrame(L, frame, request, out, answer.error))
            return false;
    }
    return true;
}

} // namespace

ScriptAnswer RunScriptSandboxed(const ScriptRequest& request) {
    Budget budget;
    ScriptAnswer answer;
    lua_State* L = lua_newstate(Allocate, &budget);
    if (L == nullptr) {
        answer.error = ScriptMemoryMessage;
        return answer;
    }
    OpenSandbox(L);
    bool ran = Load(L, ScriptHelpers, HelpersChunk, answer.error) && Call(L, 0, answer.error);
    lua_settop(L, 0);
    ran = ran && Load(L, request.lua, ScriptChunk, answer.error) && Call(L, 0, answer.error);
    lua_settop(L, 0);
    ran = ran && Generate(L, request, answer);
    lua_close(L);
    if (budget.exceeded) answer.error = ScriptMemoryMessage;
    if (!ran || budget.exceeded) answer.values.clear();
    return answer;
}
