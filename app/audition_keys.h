// The computer keys that play the live audition: a row of note keys from A
// (C4 at first), Z and X an octave down and up. GUI thread only.
#pragma once

#include <string>

#include "platform/platform.h"

// Forgets every held key and returns to the C4 octave.
void ResetAuditionKeys();
// A computer key pressed or released (the key as WM_KEYDOWN gives it). True
// when the key plays the audition (a note key, Z or X).
bool AuditionKeyDown(WindowHandle window, int key);
void AuditionKeyUp(int key);
// The Preview menu's line naming the octaves the note keys play: "Keys: C4–F5".
std::string AuditionKeysLabel(CommandId id);
// Ends every note the computer keys hold.
void ReleaseAuditionKeys();
// Stop: every audition voice falls silent at once.
void SilenceAudition();
