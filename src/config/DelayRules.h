#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

// The delay between slides as the delay box holds it: a text of whole seconds, which "Set Timer"
// checks before storing and the exit command stores as typed.
namespace vantelo {

// "Set Timer" refuses this many seconds and more.
inline constexpr int DelayLimitSeconds = 60;

// The seconds "Set Timer" takes from the box's text: a number, as the show will read it, from 0 up
// to below the limit. Nothing for 60 and more, and for a box that holds no number or a negative
// one (only a paste puts those in), since the show could never run on them.
std::optional<std::int16_t> acceptedDelay(QStringView text);

// The text the exit command stores for the delay: the box's text as typed, unchecked against the
// limit, except that a box without a number stores the readers' default, which the show can still read.
QString delayTextToStore(const QString& text);

} // namespace vantelo
