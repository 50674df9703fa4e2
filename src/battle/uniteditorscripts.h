// The unit editor's scripts: reaching the screen, a point more or less of each statistic, and paying
// for the changes or taking them back. Each acts only while the editor is the screen last requested.
#pragma once

void ScriptUnit();
void ScriptUStatConfirm();
void ScriptUStatReset();

void UStatAddHp();
void UStatMinusHp();
void UStatAddStr();
void UStatMinusStr();
void UStatAddVit();
void UStatMinusVit();
void UStatAddDef();
void UStatMinusDef();
void UStatAddMoveSpd();
void UStatMinusMovSpd();
void UStatAddRange();
void UStatMinusRange();
// Reached only through the editor's boxes.
void UStatAddAccuracy();
void UStatMinusAccuracy();
void UStatAddAttkSpd();
void UStatMinusAttkSpd();
void UStatAddEvade();
void UStatMinusEvade();
void UStatAddEnergy();
void UStatMinusEnergy();
