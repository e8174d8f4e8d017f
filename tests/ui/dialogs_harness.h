#pragma once
// Driving modal dialogs from Qt tests without blocking: every dialog the code
// runs through ui::runDialog is handed to the next scripted step, shown, and
// answered by whatever the step clicks; every message box is recorded.

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <deque>
#include <functional>

#include "ui/DlgNumberField.h"
#include "ui/UiHooks.h"

namespace dialogs_test {

template <typename T>
T* child(QWidget& w, const char* name)
{
    T* found = w.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s in %s", name, qPrintable(w.objectName()));
    return found;
}

// Radio buttons and check boxes take clicks only on their indicator or text.
inline void click(QWidget& w, const char* name)
{
    auto* button = child<QAbstractButton>(w, name);
    const bool indicator = qobject_cast<QRadioButton*>(button) || qobject_cast<QCheckBox*>(button);
    QTest::mouseClick(button, Qt::LeftButton, {},
                      indicator ? QPoint(6, button->height() / 2) : button->rect().center());
}

inline void typeText(QWidget& w, const char* name, const QString& text)
{
    auto* edit = child<QLineEdit>(w, name);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

inline void typeNumber(QWidget& w, const char* name, const QString& text)
{
    auto* field = child<quintrel::CDlgNumberField>(w, name);
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

inline void clickRow(QWidget& w, const char* name, int row)
{
    auto* list = child<QListWidget>(w, name);
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

inline void choose(QWidget& w, const char* name, int index)
{
    child<QComboBox>(w, name)->setCurrentIndex(index);
}

struct Message {
    QString text;
    QString caption;
    QMessageBox::Icon icon;
};

class Script {
public:
    Script()
    {
        quintrel::ui::setDialogHook([this](QDialog& dialog) {
            opened << dialog.objectName();
            if (steps.empty()) {
                qWarning("unexpected dialog %s", qPrintable(dialog.objectName()));
                return int(QDialog::Rejected);
            }
            auto step = std::move(steps.front());
            steps.pop_front();
            dialog.show();
            step(dialog);
            const int result = dialog.result();
            dialog.hide();
            return result;
        });
        quintrel::ui::setMessageHook([this](const quintrel::ui::MessageRequest& r) {
            messages.push_back(Message{r.text, r.caption, r.icon});
            return QMessageBox::Ok;
        });
    }
    ~Script()
    {
        quintrel::ui::setDialogHook(nullptr);
        quintrel::ui::setMessageHook(nullptr);
    }

    Script& then(std::function<void(QDialog&)> step)
    {
        steps.push_back(std::move(step));
        return *this;
    }
    bool done() const { return steps.empty(); }
    QStringList texts() const
    {
        QStringList out;
        for (const Message& m : messages)
            out << m.text;
        return out;
    }

    QStringList opened;
    std::vector<Message> messages;

private:
    std::deque<std::function<void(QDialog&)>> steps;
};

// The texts a shown dialog cuts off: labels too small for their text, and
// number fields too narrow for the number they hold.
inline QStringList clippedTexts(QWidget& dialog)
{
    QStringList clipped;
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty())
            continue;
        const int needed = label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
        if (label->height() < needed || (!label->wordWrap() && label->width() < label->sizeHint().width()))
            clipped.append(label->text());
    }
    for (auto* field : dialog.findChildren<quintrel::CDlgNumberField*>()) {
        QLineEdit* edit = field->findChild<QLineEdit*>();
        if (field->isVisible() && edit->width() < edit->fontMetrics().horizontalAdvance(field->text()) + 2)
            clipped.append(field->objectName() + QLatin1Char('=') + field->text());
    }
    return clipped;
}

} // namespace dialogs_test
