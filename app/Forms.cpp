// SPDX-License-Identifier: GPL-3.0-or-later
// The program's windows and their creation order.
#include "app/Forms.h"

#include "actions/Unit2.h"
#include "actions/Unit5.h"
#include "actions/Unit6.h"
#include "actions/Unit7.h"
#include "app/Unit1.h"
#include "settings/Unit4.h"
#include "settings/Unit9.h"
#include "signals/Unit8.h"

TForm1 *Form1 = nullptr;
TDM *DM = nullptr;
TForm2 *Form2 = nullptr;
TForm7 *Form7 = nullptr;
TForm6 *Form6 = nullptr;
TForm9 *Form9 = nullptr;
TForm5 *Form5 = nullptr;
TForm4 *Form4 = nullptr;

void CreateForms() {
    Form1 = new TForm1;
    DM = new TDM;
    Form2 = new TForm2;
    Form7 = new TForm7;
    Form6 = new TForm6;
    Form9 = new TForm9;
    Form5 = new TForm5;
    Form4 = new TForm4;
}

void DestroyForms() {
    delete Form4;
    Form4 = nullptr;
    delete Form5;
    Form5 = nullptr;
    delete Form9;
    Form9 = nullptr;
    delete Form6;
    Form6 = nullptr;
    delete Form7;
    Form7 = nullptr;
    delete Form2;
    Form2 = nullptr;
    delete DM;
    DM = nullptr;
    delete Form1;
    Form1 = nullptr;
}
