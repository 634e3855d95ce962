// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up phrase drawn from the user's phrases file (the draw comes with the phrases work).
#include "app/Unit1.h"

void TForm1::ShowRandomPhrase() {}
