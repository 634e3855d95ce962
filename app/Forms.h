// SPDX-License-Identifier: GPL-3.0-or-later
// The program's windows, reachable by name: those the start needs created in a fixed order, the dialogs nobody sees
// before they are opened made on their first use.
#pragma once

#include "app/LazyForm.h"

class TForm1;
class TDM;
class TForm2;
class TForm7;
class TForm6;
class TForm9;
class TForm5;
class TForm4;

extern TForm1 *Form1;
extern TDM *DM;
extern LazyForm<TForm2> Form2;
extern LazyForm<TForm7> Form7;
extern LazyForm<TForm6> Form6;
extern LazyForm<TForm9> Form9;
extern LazyForm<TForm5> Form5;
extern LazyForm<TForm4> Form4;

// Creates the windows the start needs in the program's order, each running its FormCreate before the next is made.
void CreateForms();
// Destroys them in the reverse order (the end of the program, or of a test).
void DestroyForms();
