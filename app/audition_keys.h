// The computer keys that play the live audition: a row of note keys from A
// (C4 at first), Z and X an octave down and up. GUI thread only.
#pragma once

#include "platform/platform.h"

// Forgets every held key and returns to the C4 octave.
void ResetAuditionKeys();
// A computer key pressed or released (the key as WM_KEYDOWN gives it). True
// when the key plays the audition (a note key, Z or X).
bool AuditionKeyDown(WindowHandle window, int key);
void AuditionKeyUp(int key);
// Ends every note the computer keys hold.
void ReleaseAuditionKeys();
// Stop: every audition voice falls silent at once.
void SilenceAudition();
