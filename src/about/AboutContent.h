#pragma once

#include <QRect>
#include <QString>

// What the About box shows and where, kept apart from the dialog so the texts and the geometry
// can be read and checked without a window.
namespace vantelo {

// Label texts break their lines with CR LF; the labels show each break as a new line.
inline const QString AboutTitleText = QStringLiteral("Personal Vantelo Creator\r\nBy\r\nTorvane Consulting");
inline const QString AboutDescriptionText = QStringLiteral("This Program is designed to be a tool for creating\r\n"
                                                           "Slide Shows from personal pictures located on\r\n"
                                                           "a local drive");
inline const QString AboutDisclaimerText = QStringLiteral("Warning: ...");
inline const QString AboutVersionDesignText = QStringLiteral("Version");
inline const QString AboutDescriptionDesignText = QStringLiteral("App Description");

// "About " and the owning window's caption as it reads when the box loads.
QString aboutCaption(const QString& ownerCaption);
// "Version " and the program's own version as major.minor.revision.
QString aboutVersionText();

// The design was drawn in twips, 15 to a pixel at 96 dots per inch.
inline constexpr int TwipsPerPixel = 15;
constexpr int pixelsFromTwips(int twips)
{
    return (2 * twips + TwipsPerPixel) / (2 * TwipsPerPixel); // to the nearest pixel
}
constexpr QRect pixelRectFromTwips(int left, int top, int width, int height)
{
    return QRect(pixelsFromTwips(left), pixelsFromTwips(top), pixelsFromTwips(width), pixelsFromTwips(height));
}

namespace AboutGeometry {
inline constexpr QSize Client(pixelsFromTwips(5730), pixelsFromTwips(3555));
inline constexpr QRect picIcon0 = pixelRectFromTwips(120, 120, 540, 540);
inline constexpr QRect lblTitle = pixelRectFromTwips(870, 120, 3945, 1020);
inline constexpr QRect picIcon1 = pixelRectFromTwips(5100, 600, 540, 540);
inline constexpr QRect lblVersion = pixelRectFromTwips(840, 1260, 4005, 225);
inline constexpr QRect lblDescription = pixelRectFromTwips(840, 1620, 4005, 630);
inline constexpr QRect lblDisclaimer = pixelRectFromTwips(255, 2625, 3870, 825);
inline constexpr QRect cmdOK = pixelRectFromTwips(4245, 2625, 1260, 345);
inline constexpr QRect cmdSysInfo = pixelRectFromTwips(4260, 3075, 1245, 345);

// The etched separator: a grey line with a white one a pixel below, both ends inclusive.
struct HorizontalLine
{
    int x1;
    int x2;
    int y;
};
inline constexpr HorizontalLine SeparatorGrey{pixelsFromTwips(90), pixelsFromTwips(5654), pixelsFromTwips(2445)};
inline constexpr HorizontalLine SeparatorWhite{pixelsFromTwips(105), pixelsFromTwips(5654), pixelsFromTwips(2460)};
} // namespace AboutGeometry

} // namespace vantelo
