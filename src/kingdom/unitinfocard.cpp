#include "kingdom/unitinfocard.h"

#include "battle/krunit.h"
#include "kingdom/mail.h"

#include <sstream>

std::string BuildUnitInfoCardText(const KRUnit& unit) {
    std::ostringstream text;
    text << "Unit Info Card :\t" << unit.m_name << "\n";
    text << "Damage : Defense : Health ---- " << unit.m_damage << " : " << unit.DEF << " : "
         << unit.m_battleHP << "\n";
    text << "attackSpeed : MoveSpeed   ---- " << unit.AttkSpd << " : " << unit.MoveSpd << "\n";
    return text.str();
}

void ShowUnitInfoCard(MailList& mails, const KRUnit& unit) {
    mails.AddMail(BuildUnitInfoCardText(unit), MAIL_HELP);
}
