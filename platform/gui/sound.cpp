// The real program's sound: the audition and the preview player on one SDL2
// audio device.
#include "platform/common/audition_port.h"
#include "platform/platform.h"
#include "platform/sdl_player.h"

bool PlayLoopingWav(const std::string& path, std::string& reason) {
    return SdlPlayerStart(path, reason);
}

void StopSound() { SdlPlayerStop(); }

void InstallAuditionHooks(const AuditionHooks& hooks) { AuditionPortInstall(hooks); }

bool OpenAuditionOutput(std::string& reason) { return SdlPlayerOpen(reason); }

bool SendAuditionEvent(const AuditionEvent& event) {
    return SdlPlayerRunning() && AuditionPortSend(AuditionSender::Gui, event);
}

// A block that had read the replaced material ends with one more count; the
// ticket asks for two, so that block has surely ended.
uint64_t PublishAuditionMaterial(const AuditionMaterial* material) {
    return AuditionPortPublish(material) + 2;
}

bool AuditionMaterialReleased(uint64_t ticket) {
    return !SdlPlayerRunning() || AuditionPortBlocks() >= ticket;
}
