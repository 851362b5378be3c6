// kvrns-make-assets: draws every skin picture of the program and writes it as
// PNG under the given assets folder. The output depends on nothing but this
// code and the installed fonts, so running it again gives the same files.
//
//   kvrns-make-assets ASSETS_DIR [--preview FILE]
//
// --preview also writes the dashboard with every picture in its place (and,
// beside it, FILE-dialogs.png with the dialogs), for looking at the artwork
// as a whole.

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>

#include "pictures.h"

namespace {

bool save(const QImage& image, const QString& file)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    QImageWriter writer(file, "png");
    // For PNG a low "quality" means the strongest deflate level: the pictures
    // are compiled into the program, so small files are worth the time.
    writer.setQuality(0);
    if (!writer.write(image)) {
        std::fprintf(stderr, "kvrns-make-assets: cannot write %s: %s\n", qPrintable(file),
                     qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

// Opaque pictures are stored without an alpha channel, overlays with one.
QImage stored(const QImage& image)
{
    if (!image.hasAlphaChannel()) return image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) != 255) return image.convertToFormat(QImage::Format_ARGB32);
        }
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

int main(int argc, char** argv)
{
    // Drawing needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = QCoreApplication::arguments();
    QString outDir;
    QString preview;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--preview") && i + 1 < args.size()) {
            preview = args[++i];
        } else if (outDir.isEmpty() && !args[i].startsWith(QLatin1Char('-'))) {
            outDir = args[i];
        } else {
            outDir.clear();
            break;
        }
    }
    if (outDir.isEmpty()) {
        std::fprintf(stderr, "usage: kvrns-make-assets ASSETS_DIR [--preview FILE]\n");
        return 2;
    }

    using namespace kvrns::assets;
    const std::vector<Picture> dashboard = dashboardPictures();
    std::vector<Picture> all = dashboard;
    for (auto* group : {&warningPictures, &dialogPictures, &iconPictures}) {
        for (Picture& picture : (*group)()) all.push_back(std::move(picture));
    }

    int failures = 0;
    for (const Picture& picture : all) {
        if (!save(stored(picture.image), QDir(outDir).filePath(picture.path))) ++failures;
    }
    if (!preview.isEmpty()) {
        if (!save(dashboardPreview(dashboard), preview)) ++failures;
        const QFileInfo info(preview);
        const QString second = info.dir().filePath(info.completeBaseName() + QStringLiteral("-dialogs.png"));
        if (!save(dialogsPreview(all), second)) ++failures;
    }
    std::printf("kvrns-make-assets: wrote %d pictures to %s\n", int(all.size()) - failures, qPrintable(outDir));
    return failures == 0 ? 0 : 1;
}
