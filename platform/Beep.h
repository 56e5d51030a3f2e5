// The warning beep (the message beep of the exclamation kind), heard when
// an edit refuses a typed or pasted character.
#pragma once

// Sounds the warning beep.
void WarningBeep();

// How many warning beeps have sounded in this process; tests compare it
// before and after an action.
int WarningBeepCount();
