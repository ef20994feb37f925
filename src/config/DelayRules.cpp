#include "config/DelayRules.h"

#include "common/AppError.h"
#include "common/Numbers.h"
#include "settings/Settings.h"

namespace vantelo {

std::optional<std::int16_t> acceptedDelay(QStringView text)
{
    std::int16_t seconds = 0;
    try {
        seconds = textToInt16(text);
    } catch (const AppError&) {
        return std::nullopt;
    }
    if (seconds < 0 || seconds >= DelayLimitSeconds)
        return std::nullopt;
    return seconds;
}

QString delayTextToStore(const QString& text)
{
    return isNumericText(text) ? text : SettingKey::Delay.readerDefault;
}

} // namespace vantelo
