// The card a click on a unit in battle posts: its name and main values, as a help mail.
#pragma once

#include <string>

class KRUnit;
class MailList;

// Three lines, each ended by a line feed; numbers as a stream writes floats.
std::string BuildUnitInfoCardText(const KRUnit& unit);
// Posts the card, replacing a mail still on show.
void ShowUnitInfoCard(MailList& mails, const KRUnit& unit);
