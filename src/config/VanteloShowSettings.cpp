#include "config/Vantelo.h"

#include "config/ColorValue.h"
#include "config/DelayRules.h"
#include "config/WindowTimer.h"
#include "settings/Settings.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

namespace vantelo {
namespace {

// The character a key press types into a text box, or -1 for a key that types nothing: moving the
// cursor, deleting forwards, moving the focus and the window's cancel key edit or act, they do not
// type. Backspace and Enter type their control characters, as they always have on this platform;
// other control characters come from command keys (copy, paste) and are no typing either.
int typedCharacter(const QKeyEvent& key)
{
    switch (key.key()) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Delete:
        return -1;
    default:
        break;
    }
    const QString text = key.text();
    if (text.isEmpty() || text.front().category() == QChar::Other_Control)
        return -1;
    return text.front().unicode();
}

// Hands each character typed into a text box to the box's key-press handler first; the box never
// sees a character the handler swallowed (set to 0).
class KeyPressFilter : public QObject
{
public:
    KeyPressFilter(QObject* parent, std::function<void(int&)> handler) : QObject(parent), m_handler(std::move(handler))
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        int KeyAscii = typedCharacter(*static_cast<QKeyEvent*>(event));
        if (KeyAscii < 0)
            return false;
        m_handler(KeyAscii);
        return KeyAscii == 0;
    }

private:
    std::function<void(int&)> m_handler;
};

const QString OrderedShow = QStringLiteral("Ordered");
const QString RandomShow = QStringLiteral("Random");

} // namespace

void Vantelo::ConnectShowSettings()
{
    txtTimer->installEventFilter(new KeyPressFilter(txtTimer, [this](int& KeyAscii) { txtTimer_KeyPress(KeyAscii); }));
    connect(cmdTimer, &QPushButton::clicked, this, &Vantelo::cmdTimer_Click);
    connect(cmdColor, &QPushButton::clicked, this, &Vantelo::cmdColor_Click);
    connect(cmdExit, &QPushButton::clicked, this, &Vantelo::cmdExit_Click);
}

void Vantelo::keyPressEvent(QKeyEvent* event)
{
    // The exit button is the window's cancel button. Escape gets here only when no control took it:
    // an open drop-down list or dialog has it first, and closes itself instead.
    if (event->matches(QKeySequence::Cancel)) {
        cmdExit_Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Vantelo::txtTimer_KeyPress(int& KeyAscii)
{
    if (KeyAscii >= '0' && KeyAscii <= '9')
        return;
    KeyAscii = 0;
    m_platform.prompter.beep();
}

void Vantelo::cmdTimer_Click()
{
    Trapped([&] {
        const std::optional<std::int16_t> seconds = acceptedDelay(txtTimer->text());
        if (!seconds) {
            m_platform.prompter.showMessage(this, MessageIcon::Exclamation, windowTitle(),
                                            QStringLiteral("Select a Value Less than 60"));
            txtTimer->setText(DefaultDelayText);
            return;
        }
        SaveSetting(SettingKey::Delay, txtTimer->text());
        Timer1->setInterval(*seconds * 1000);
    });
}

void Vantelo::cmdColor_Click()
{
    Trapped([&] {
        // A cancel leaves the dialog's colour as it was, and that colour is what gets stored.
        if (const std::optional<QColor> chosen = m_platform.dialogs.chooseColor(this, m_colorDialogColor))
            m_colorDialogColor = *chosen;
        lngBackColor = colorValue(m_colorDialogColor);
        SaveSetting(SettingKey::BackColor, QString::number(lngBackColor));
    });
}

void Vantelo::cmdExit_Click()
{
    Trapped([&] {
        SaveSetting(SettingKey::Delay, delayTextToStore(txtTimer->text()));
        SaveSetting(SettingKey::BackColor, QString::number(lngBackColor));
        // Opening another folder empties the label; the file saved or loaded last stays the show's.
        if (!lblFileName->text().isEmpty())
            SaveSetting(SettingKey::File, lblFileName->text());
        if (optShowStyle[0]->isChecked())
            SaveSetting(SettingKey::ShowType, OrderedShow);
        else if (optShowStyle[1]->isChecked())
            SaveSetting(SettingKey::ShowType, RandomShow);
        m_platform.program.endProgram();
    });
}

} // namespace vantelo
