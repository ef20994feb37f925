#include "config/Vantelo.h"

#include "config/ColorValue.h"
#include "config/DelayRules.h"
#include "config/PathLabel.h"
#include "config/WindowTimer.h"
#include "settings/Settings.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace vantelo {

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
            txtTimer->setText(SettingKey::Delay.readerDefault);
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
        if (!lblFileName->path().isEmpty())
            SaveSetting(SettingKey::File, lblFileName->path());
        if (optShowStyle[0]->isChecked())
            SaveSetting(SettingKey::ShowType, OrderedShowType);
        else if (optShowStyle[1]->isChecked())
            SaveSetting(SettingKey::ShowType, RandomShowType);
        m_platform.program.endProgram();
    });
}

} // namespace vantelo
