// SPDX-License-Identifier: GPL-3.0-or-later
// The program's windows, created once in a fixed order and reachable by name.
#pragma once

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
extern TForm2 *Form2;
extern TForm7 *Form7;
extern TForm6 *Form6;
extern TForm9 *Form9;
extern TForm5 *Form5;
extern TForm4 *Form4;

// Creates the windows in the program's order, each running its FormCreate before the next is made.
void CreateForms();
// Destroys them in the reverse order (the end of the program, or of a test).
void DestroyForms();
