// zyl-app-icons: writes the application icon, as the program draws it, into a hicolor icon
// theme folder, so the installed icons can never drift from the one in the window.
// Usage: zyl-app-icons OUT_DIR NAME SIZE...  writes OUT_DIR/<N>x<N>/apps/NAME.png for each SIZE.

#include "app/AppIcon.h"

#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// A drawing made for the size, not a scaled neighbour, which would blur the small icons.
[[nodiscard]] bool hasDrawing(const QIcon& icon, int size) {
    if (icon.availableSizes().contains(QSize(size, size)))
        return true;
    std::fprintf(stderr, "zyl-app-icons: the application icon has no %dx%d drawing\n", size, size);
    return false;
}

[[nodiscard]] bool writeIcon(const QIcon& icon, const QString& outDir, const QString& name, int size) {
    const QSize wanted(size, size);
    const QImage image = icon.pixmap(wanted).toImage().convertToFormat(QImage::Format_ARGB32);
    if (image.size() != wanted) {
        std::fprintf(stderr, "zyl-app-icons: the %dx%d drawing came out %dx%d\n", size, size, image.width(),
                     image.height());
        return false;
    }
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(outDir).arg(size);
    const QString path = folder + '/' + name + ".png";
    QSaveFile file(path);
    if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        std::fprintf(stderr, "zyl-app-icons: cannot write %s: %s\n", qPrintable(path), qPrintable(file.errorString()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: zyl-app-icons OUT_DIR NAME SIZE...\n");
        return 2;
    }
    std::vector<int> sizes;
    for (int i = 3; i < argc; ++i) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size <= 0) {
            std::fprintf(stderr, "zyl-app-icons: '%s' is not a size in pixels\n", argv[i]);
            return 2;
        }
        sizes.push_back(size);
    }
    // Drawing needs a GUI application but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString outDir = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    const QIcon icon = MakeAppIcon();
    // Every size is checked before anything is written, so a refused run leaves no partial theme.
    if (!std::all_of(sizes.begin(), sizes.end(), [&](int size) { return hasDrawing(icon, size); }))
        return 1;
    for (int size : sizes) {
        if (!writeIcon(icon, outDir, name, size))
            return 1;
    }
    return 0;
}
