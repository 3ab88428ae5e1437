// Keyboard shortcuts of menu items.

#include "framework/internal/menu_shortcut.h"

#include <QString>

#include <array>
#include <utility>

namespace fw::internal {
namespace {

struct ModifierName {
    const char* name;
    Qt::KeyboardModifier modifier;
};

// The platform's command key is Ctrl here; its option key is Alt.
constexpr std::array kModifierNames = {
    ModifierName{"Cmd", Qt::ControlModifier},  ModifierName{"Command", Qt::ControlModifier},
    ModifierName{"Ctrl", Qt::ControlModifier}, ModifierName{"Control", Qt::ControlModifier},
    ModifierName{"Option", Qt::AltModifier},   ModifierName{"Opt", Qt::AltModifier},
    ModifierName{"Alt", Qt::AltModifier},      ModifierName{"Shift", Qt::ShiftModifier},
};

// A modifier named where the key belongs makes no shortcut of its own.
bool IsModifierKey(Qt::Key key) {
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr;
}

bool ReadModifier(const QString& token, Qt::KeyboardModifiers& modifiers) {
    for (const ModifierName& entry : kModifierNames) {
        if (token.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0) {
            modifiers |= entry.modifier;
            return true;
        }
    }
    return false;
}

} // namespace

QKeySequence ShortcutFromText(std::string_view text) {
    QString rest = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed();
    Qt::KeyboardModifiers modifiers;
    // Modifiers stand before the key, each followed by '+'. The key itself
    // may be '+', so only a '+' after at least one character separates.
    for (qsizetype plus = rest.indexOf('+', 1); plus > 0; plus = rest.indexOf('+', 1)) {
        if (!ReadModifier(rest.left(plus).trimmed(), modifiers)) {
            break;
        }
        rest = rest.mid(plus + 1).trimmed();
    }
    if (rest.isEmpty()) {
        return {};
    }
    const QKeySequence key = QKeySequence::fromString(rest, QKeySequence::PortableText);
    if (key.count() != 1 || key[0].key() == Qt::Key_unknown || IsModifierKey(key[0].key()) ||
        key[0].keyboardModifiers() != Qt::NoModifier) {
        return {};
    }
    return QKeySequence(QKeyCombination(modifiers, key[0].key()));
}

} // namespace fw::internal
