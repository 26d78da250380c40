#include "synth/formula_parser.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <new>

namespace {

using mu::value_type;

// -1, 0 or 1; zero and NaN come back as they were.
value_type Sign(value_type v) { return v > 0.0 ? 1.0 : (v < 0.0 ? -1.0 : v); }
// Floored: the result takes the divisor's sign, so -1 % 4 is 3.
value_type FlooredMod(value_type a, value_type b) { return a - b * std::floor(a / b); }
value_type Clamp(value_type v, value_type lo, value_type hi) {
    return std::min(std::max(v, lo), hi);
}
value_type Min(const value_type* v, int n) { return *std::min_element(v, v + n); }
value_type Max(const value_type* v, int n) { return *std::max_element(v, v + n); }
value_type Negate(value_type v) { return -v; }

// muParser's own '^' calls pow even for a square, which costs more than all
// the rest of a typical formula. The text it compiles has '#' in place of each
// '^' (the columns stay), an operator of ours that squares with one multiply,
// exact where pow is not always, and leaves every other exponent to pow.
constexpr char PowerSign = '#';
value_type Power(value_type a, value_type b) { return b == 2.0 ? a * a : std::pow(a, b); }
std::string ForParser(std::string text) {
    std::replace(text.begin(), text.end(), '^', PowerSign);
    return text;
}
value_type Not(value_type v) { return v == 0.0 ? 1.0 : 0.0; }

void DefineLanguage(FormulaNames& names, mu::Parser& parser) {
    parser.ClearConst();
    parser.ClearFun();
    parser.ClearInfixOprt();
    parser.ClearPostfixOprt();
    parser.ClearOprt();
    parser.DefineConst("pi", 3.14159265358979323846);
    parser.DefineConst("e", 2.71828182845904523536);
    parser.DefineInfixOprt("-", Negate);
    parser.DefineInfixOprt("!", Not);
    parser.DefineOprt("%", FlooredMod, mu::prMUL_DIV, mu::oaLEFT, true);
    parser.DefineOprt(std::string(1, PowerSign), Power, mu::prPOW, mu::oaRIGHT, true);
    // The standard library's own functions of a double, taken as they are;
    // rint rounds halves to even, round away from zero; log is ln.
    const struct {
        const char* name;
        value_type (*function)(value_type);
    } unary[] = {{"sin", std::sin},     {"cos", std::cos},     {"tan", std::tan},
                 {"asin", std::asin},   {"acos", std::acos},   {"atan", std::atan},
                 {"sinh", std::sinh},   {"cosh", std::cosh},   {"tanh", std::tanh},
                 {"exp", std::exp},     {"ln", std::log},      {"log", std::log},
                 {"log2", std::log2},   {"log10", std::log10}, {"sqrt", std::sqrt},
                 {"abs", std::fabs},    {"sign", Sign},        {"rint", std::nearbyint},
                 {"round", std::round}, {"floor", std::floor}, {"ceil", std::ceil}};
    for (const auto& f : unary) parser.DefineFun(f.name, f.function);
    const struct {
        const char* name;
        value_type (*function)(value_type, value_type);
    } binary[] = {{"atan2", std::atan2}, {"pow", std::pow}, {"mod", FlooredMod}};
    for (const auto& f : binary) parser.DefineFun(f.name, f.function);
    parser.DefineFun("clamp", Clamp);
    parser.DefineFun("min", Min);
    parser.DefineFun("max", Max);
    const struct {
        const char* name;
        double* value;
    } variables[] = {{"x", &names.x},   {"w", &names.w},         {"y", &names.y},
                     {"z", &names.z},   {"frame", &names.frame}, {"q", &names.q},
                     {"in", &names.in}, {"rand", &names.rand},   {"rrnd", &names.rrnd}};
    for (const auto& v : variables) parser.DefineVar(v.name, v.value);
}

std::string AtColumn(const std::string& what, size_t column) {
    return what + " at column " + std::to_string(column);
}

bool IsNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }
bool IsNumberChar(char c) { return std::isdigit(static_cast<unsigned char>(c)) || c == '.'; }

// The name, number or character at index, quoted: "'sin'", "'3.5'", "')'";
// "end" past the text, "a character" for one that cannot be shown.
std::string Quoted(const std::string& text, size_t index) {
    if (index >= text.size()) return "end";
    const char c = text[index];
    if (c < 0x21 || c > 0x7e) return "a character";
    size_t end = index + 1;
    bool (*same)(char) = IsNameStart(c) ? IsNameChar : IsNumberChar(c) ? IsNumberChar : nullptr;
    while (same && end < text.size() && same(text[end])) ++end;
    return "'" + text.substr(index, end - index) + "'";
}

// Where muParser's error is. Its positions count from 0; some point just past
// the token at fault ("--x" at the x), some past the text (an unclosed
// parenthesis), some nowhere (-1, a '?' without its ':').
size_t ErrorIndex(const mu::Parser::exception_type& error, const std::string& text) {
    const int pos = error.GetPos();
    size_t index = pos < 0 ? text.size() : std::min(static_cast<size_t>(pos), text.size());
    const std::string& token = error.GetToken();
    if (!token.empty() && text.compare(index, token.size(), token) != 0 && index >= token.size() &&
        text.compare(index - token.size(), token.size(), token) == 0)
        index -= token.size();
    switch (error.GetCode()) {
    case mu::ecMISPLACED_COLON:
        return std::min(text.rfind(':', index), text.size());
    case mu::ecUNEXPECTED_STR:
    case mu::ecSTR_RESULT:
    case mu::ecUNTERMINATED_STRING:
    case mu::ecSTRING_EXPECTED:
    case mu::ecVAL_EXPECTED:
        return std::min(text.find('"'), index);
    default:
        return index;
    }
}

// muParser's error in the program's words.
std::string Describe(const mu::Parser::exception_type& error, const std::string& text,
                     const mu::Parser& parser) {
    const size_t index = ErrorIndex(error, ForParser(text));
    const size_t column = index + 1;
    switch (error.GetCode()) {
    case mu::ecUNASSIGNABLE_TOKEN: {
        if (index >= text.size() || !IsNameStart(text[index]))
            return AtColumn("unexpected " + Quoted(text, index), column);
        const std::string name = Quoted(text, index);
        if (parser.GetFunDef().count(name.substr(1, name.size() - 2)) == 0)
            return AtColumn("unknown name " + name, column);
        return AtColumn("expected '(' after " + name, column + name.size() - 2);
    }
    case mu::ecEMPTY_EXPRESSION:
        return AtColumn("empty formula", 1);
    case mu::ecUNEXPECTED_EOF:
        return AtColumn("unexpected end", column);
    case mu::ecMISSING_PARENS:
        return AtColumn("missing ')'", column);
    case mu::ecMISSING_ELSE_CLAUSE:
        return AtColumn("missing ':'", column);
    case mu::ecTOO_MANY_PARAMS:
    case mu::ecTOO_FEW_PARAMS: {
        const std::string many = error.GetCode() == mu::ecTOO_MANY_PARAMS ? "many" : "few";
        std::string name = error.GetToken();
        if (name.size() > 16 || !std::all_of(name.begin(), name.end(), IsNameChar)) name = "?";
        return AtColumn("too " + many + " arguments for '" + name + "'", column);
    }
    default:
        return AtColumn("unexpected " + Quoted(text, index), column);
    }
}

// muParser reads a lone '=' as an assignment to a name, a comma outside
// parentheses as a second result, and a typed '#' as a power; formulas have
// none of them. Returns the index of the first, or npos.
size_t FindStray(const std::string& text) {
    int depth = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '(') ++depth;
        if (c == ')') --depth;
        if ((c == ',' && depth == 0) || c == PowerSign) return i;
        if (std::string("<>!=").find(c) != std::string::npos && i + 1 < text.size() &&
            text[i + 1] == '=') {
            ++i;
            continue;
        }
        if (c == '=') return i;
    }
    return std::string::npos;
}

} // namespace

std::string CompileFormula(const std::string& text, FormulaNames& names, mu::Parser& parser) {
    if (text.size() > FormulaMaxLength)
        return AtColumn("longer than " + std::to_string(FormulaMaxLength) + " characters",
                        FormulaMaxLength + 1);
    if (std::all_of(text.begin(), text.end(),
                    [](char c) { return std::isspace(static_cast<unsigned char>(c)); }))
        return AtColumn("empty formula", 1);
    try {
        DefineLanguage(names, parser);
        parser.SetExpr(ForParser(text));
        parser.Eval();
    } catch (const mu::Parser::exception_type& error) {
        return Describe(error, text, parser);
    } catch (const std::bad_alloc&) {
        return AtColumn("too large a formula", 1);
    } catch (...) {
        return AtColumn("unreadable formula", 1);
    }
    const size_t stray = FindStray(text);
    if (stray != std::string::npos) return AtColumn("unexpected " + Quoted(text, stray), stray + 1);
    return std::string();
}

bool ReadsName(const mu::Parser& parser, const char* name) {
    try {
        return parser.GetUsedVar().count(name) != 0;
    } catch (...) {
        return true;
    }
}
