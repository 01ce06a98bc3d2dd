#pragma once

class QAccessibleInterface;
class QObject;
class QString;

namespace tarvane {

// Gives the program's own painted widgets what a screen reader needs (roles, names,
// values, states), for QAccessible::installFactory. Other objects get Qt's own.
QAccessibleInterface* AccessibleFactory(const QString& className, QObject* object);

} // namespace tarvane
