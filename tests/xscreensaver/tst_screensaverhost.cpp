#include "platform/ScreenSaverHost.h"
#include "support/TestMain.h"

#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QSignalSpy>
#include <QWidget>

#include <xcb/xcb.h>

using namespace vantelo;

namespace {

constexpr int Timeout = 10000;
const QColor HostColor(0, 255, 0);
const QColor ShowColor(200, 30, 40);

// Stands for the screen-saver host: another X client that owns a window and lends it out.
class HostClient
{
public:
    HostClient() : m_connection(xcb_connect(nullptr, nullptr)) {}
    ~HostClient() { xcb_disconnect(m_connection); }

    bool connected() const { return !xcb_connection_has_error(m_connection); }

    WId createWindow(const QRect& geometry)
    {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
        const xcb_window_t window = xcb_generate_id(m_connection);
        const std::uint32_t background = HostColor.rgb() & 0xffffff;
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, screen->root, std::int16_t(geometry.x()),
                          std::int16_t(geometry.y()), std::uint16_t(geometry.width()), std::uint16_t(geometry.height()),
                          0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL, &background);
        xcb_map_window(m_connection, window);
        sync();
        return window;
    }
    void resize(WId window, QSize size)
    {
        const std::uint32_t values[] = {std::uint32_t(size.width()), std::uint32_t(size.height())};
        xcb_configure_window(m_connection, xcb_window_t(window), XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT,
                             values);
        sync();
    }
    void destroy(WId window)
    {
        xcb_destroy_window(m_connection, xcb_window_t(window));
        sync();
    }

private:
    void sync() { std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr)); }
    xcb_connection_t* m_connection;
};

class ShowStandIn : public QWidget
{
public:
    ShowStandIn()
    {
        QPalette palette;
        palette.setColor(QPalette::Window, ShowColor);
        setPalette(palette);
        setAutoFillBackground(true);
    }
};

// The screen's pixels within area, counted by colour.
QMap<QRgb, int> coloursOnScreen(const QRect& area)
{
    const QImage image = QGuiApplication::primaryScreen()
                             ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    QMap<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    return counts;
}

bool filledWith(const QRect& area, const QColor& colour)
{
    const QMap<QRgb, int> counts = coloursOnScreen(area);
    return counts.size() == 1 && counts.firstKey() == colour.rgb();
}

} // namespace

class TestScreenSaverHost : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("needs an X server (run under xvfb-run with QT_QPA_PLATFORM=xcb)");
        QVERIFY(m_client.connected());
    }
    void cleanup() { qunsetenv(HostWindowVariable); }

    void parseHostWindowId_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qulonglong>("id"); // 0: no window
        QTest::newRow("hexadecimal") << "0x1a00007" << 0x1a00007ull;
        QTest::newRow("capital X and digits") << "0X1A0000F" << 0x1a0000full;
        QTest::newRow("decimal") << "27262983" << 27262983ull;
        QTest::newRow("blanks around") << "  0x2c00001\n" << 0x2c00001ull;
        QTest::newRow("leading zero is still decimal") << "0104" << 104ull;
        QTest::newRow("largest 32-bit id") << "0xffffffff" << 0xffffffffull;
        QTest::newRow("empty") << "" << 0ull;
        QTest::newRow("zero") << "0" << 0ull;
        QTest::newRow("prefix alone") << "0x" << 0ull;
        QTest::newRow("negative") << "-5" << 0ull;
        QTest::newRow("plus sign") << "+5" << 0ull;
        QTest::newRow("trailing junk") << "12abc" << 0ull;
        QTest::newRow("hex digit in decimal") << "12a" << 0ull;
        QTest::newRow("blank inside") << "0x12 34" << 0ull;
        QTest::newRow("beyond 32 bits") << "0x100000000" << 0ull;
        QTest::newRow("far beyond 64 bits") << "99999999999999999999999" << 0ull;
        QTest::newRow("a word") << "root" << 0ull;
    }
    void parseHostWindowId()
    {
        QFETCH(QString, text);
        QFETCH(qulonglong, id);
        const std::optional<WId> parsed = vantelo::parseHostWindowId(text);
        if (id == 0)
            QVERIFY2(!parsed, qPrintable(QString::number(parsed.value_or(0))));
        else
            QCOMPARE(qulonglong(parsed.value_or(0)), id);
    }

    void fromEnvironmentFindsTheNamedWindowWithItsSize()
    {
        const WId window = m_client.createWindow({40, 30, 320, 200});
        qputenv(HostWindowVariable, "0x" + QByteArray::number(qulonglong(window), 16));
        const std::unique_ptr<ScreenSaverHost> host = ScreenSaverHost::fromEnvironment();
        QVERIFY(host);
        QCOMPARE(host->window(), window);
        QCOMPARE(host->size(), QSize(320, 200));
        m_client.destroy(window);
    }

    void fromEnvironmentWithoutAUsableWindow()
    {
        QVERIFY(!ScreenSaverHost::fromEnvironment()); // not set: quietly nothing

        qputenv(HostWindowVariable, "nonsense");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("XSCREENSAVER_WINDOW is \"nonsense\""));
        QVERIFY(!ScreenSaverHost::fromEnvironment());

        const WId window = m_client.createWindow({0, 0, 50, 50});
        m_client.destroy(window);
        qputenv(HostWindowVariable, QByteArray::number(qulonglong(window)));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("names no window"));
        QVERIFY(!ScreenSaverHost::fromEnvironment());
    }

    void embeddedWidgetCoversTheHostAndNothingElse()
    {
        const QRect area(40, 30, 320, 200);
        const WId window = m_client.createWindow(area);
        const std::unique_ptr<ScreenSaverHost> host = ScreenSaverHost::forWindow(window);
        QVERIFY(host);
        ShowStandIn show;
        host->embed(show);
        show.show();
        QTRY_VERIFY_WITH_TIMEOUT(filledWith(area, ShowColor), Timeout);
        QVERIFY(!coloursOnScreen(QRect(area.right() + 1, area.top(), 40, area.height())).contains(ShowColor.rgb()));
        QVERIFY(!coloursOnScreen(QRect(area.left(), area.bottom() + 1, area.width(), 40)).contains(ShowColor.rgb()));
        m_client.destroy(window);
    }

    void embeddedWidgetFollowsTheHostsSize()
    {
        const WId window = m_client.createWindow({40, 30, 320, 200});
        const std::unique_ptr<ScreenSaverHost> host = ScreenSaverHost::forWindow(window);
        QVERIFY(host);
        QSignalSpy resized(host.get(), &ScreenSaverHost::resized);
        ShowStandIn show;
        host->embed(show);
        show.show();
        QTRY_VERIFY_WITH_TIMEOUT(filledWith({40, 30, 320, 200}, ShowColor), Timeout);

        m_client.resize(window, {400, 260});
        QTRY_COMPARE_WITH_TIMEOUT(resized.size(), 1, Timeout);
        QCOMPARE(resized.at(0).at(0).toSize(), QSize(400, 260));
        QCOMPARE(host->size(), QSize(400, 260));
        QTRY_VERIFY_WITH_TIMEOUT(filledWith({40, 30, 400, 260}, ShowColor), Timeout);
        m_client.destroy(window);
    }

    void reportsWhenTheHostWindowGoes()
    {
        const WId window = m_client.createWindow({40, 30, 320, 200});
        const std::unique_ptr<ScreenSaverHost> host = ScreenSaverHost::forWindow(window);
        QVERIFY(host);
        QSignalSpy gone(host.get(), &ScreenSaverHost::gone);
        auto show = std::make_unique<ShowStandIn>();
        host->embed(*show);
        show->show();
        m_client.destroy(window);
        QTRY_COMPARE_WITH_TIMEOUT(gone.size(), 1, Timeout);
        show.reset(); // what a show does when told: its window went with the host's
    }

    // The host's stand-in window owns the embedded widget's window; losing the host first must not
    // take the widget's window away under it.
    void hostMayGoBeforeTheWidget()
    {
        const WId window = m_client.createWindow({40, 30, 320, 200});
        auto host = ScreenSaverHost::forWindow(window);
        QVERIFY(host);
        ShowStandIn show;
        host->embed(show);
        show.show();
        QTRY_VERIFY_WITH_TIMEOUT(filledWith({40, 30, 320, 200}, ShowColor), Timeout);
        host.reset();
        QVERIFY(show.windowHandle());
        QCOMPARE(show.windowHandle()->parent(), nullptr);
        show.hide();
        m_client.destroy(window);
    }

private:
    HostClient m_client;
};

VANTELO_TEST_MAIN(TestScreenSaverHost)
#include "tst_screensaverhost.moc"
