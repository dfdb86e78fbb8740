#pragma once
// A command of a feature: an action with its caption and its object name
// (the name tests and the layout find it by).
#include <QAction>

namespace lingrove::ui {

inline QAction* makeAction(QObject* parent, const char* objectName, const QString& caption)
{
    auto* action = new QAction(caption, parent);
    action->setObjectName(QString::fromLatin1(objectName));
    return action;
}

} // namespace lingrove::ui
