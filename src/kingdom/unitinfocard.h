// The short card of a clicked unit's main values, posted as a help mail.
#pragma once

#include <string>

class KRUnit;
class MailList;

// Three lines, each ended by a line feed: the name, then damage, defence and battle HP, then attack and
// movement speed; numbers as a text stream writes a float.
std::string UnitInfoCardText(const KRUnit& unit);
// Posts the card; a mail still on show is replaced.
void ShowUnitInfoCard(MailList& mails, const KRUnit& unit);
