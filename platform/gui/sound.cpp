// The real program's sound: the audition and the preview player on one SDL2
// audio device.
#include "platform/common/audition_port.h"
#include "platform/gui/sdl_player.h"
#include "platform/platform.h"

bool PlayLoopingWav(const std::string& path, std::string& reason) {
    return SdlPlayerStart(path, reason);
}

void StopSound() { SdlPlayerStop(); }

void InstallAuditionHooks(const AuditionHooks& hooks) { AuditionPortInstall(hooks); }

bool OpenAuditionOutput(std::string& reason) { return SdlPlayerOpen(reason); }

void SendAuditionEvent(const AuditionEvent& event) {
    if (SdlPlayerRunning()) AuditionPortSend(AuditionSender::Gui, event);
}

uint64_t PublishAuditionMaterial(const AuditionMaterial* material) {
    return AuditionPortPublish(material);
}

bool AuditionMaterialReleased(uint64_t ticket) {
    return !SdlPlayerRunning() || AuditionPortRetired(ticket);
}
