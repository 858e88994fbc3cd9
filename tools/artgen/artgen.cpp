// artgen: draws every picture the program ships with and writes it into the program folder.
// Usage: artgen <program folder>. Run at build time, after the data files have been copied.
#include "AppIcon.h"
#include "DecompositionPictures.h"
#include "LightPictures.h"
#include "PanelPictures.h"
#include "PictureSet.h"
#include "PointGoIcons.h"
#include "ToolbarIcons.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2) {
        std::fprintf(stderr, "usage: artgen <program folder>\n");
        return 2;
    }
    const QString programFolder = arguments.at(1);

    md::artgen::PictureSet pictures;
    md::artgen::AddPanelPictures(pictures);
    md::artgen::AddDecompositionPictures(pictures);
    md::artgen::AddToolbarIcons(pictures);
    md::artgen::AddPointGoIcons(pictures);
    md::artgen::AddAppIcon(pictures);
    const bool lightsRead = md::artgen::AddLightPictures(pictures, programFolder);

    const int failures = pictures.WriteAll(programFolder);
    std::printf("artgen: %lld pictures written to %s\n",
                static_cast<long long>(pictures.Pictures().size()) - failures,
                qPrintable(programFolder));
    return lightsRead && failures == 0 ? 0 : 1;
}
