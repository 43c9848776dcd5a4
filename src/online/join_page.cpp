#include "online/join_page.h"

JoinPage::JoinPage(QWidget* parent) : QFrame(parent) { setObjectName(QStringLiteral("Frame1")); }

void JoinPage::SetUpServerTable() {}
