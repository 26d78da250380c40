// The real program's sound: the preview player on SDL2 audio.
#include "platform/platform.h"
#include "platform/sdl_player.h"

bool PlayLoopingWav(const std::string& path, std::string& reason) {
    return SdlPlayerStart(path, reason);
}

void StopSound() { SdlPlayerStop(); }
