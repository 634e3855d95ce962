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
LazyForm<TForm2> Form2;
LazyForm<TForm7> Form7;
LazyForm<TForm6> Form6;
LazyForm<TForm9> Form9;
LazyForm<TForm5> Form5;
LazyForm<TForm4> Form4;

void CreateForms() {
    Form1 = new TForm1;
    DM = new TDM;
}

void DestroyForms() {
    Form4.Destroy();
    Form5.Destroy();
    Form9.Destroy();
    Form6.Destroy();
    Form7.Destroy();
    Form2.Destroy();
    delete DM;
    DM = nullptr;
    delete Form1;
    Form1 = nullptr;
}
