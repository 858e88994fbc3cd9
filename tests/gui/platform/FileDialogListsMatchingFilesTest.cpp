// What the product's file dialogs list: a real QFileDialog over a folder of matching and
// non-matching files, for every form of filter the product builds.
#include "core/io/IniFile.h"
#include "gui/platform/QtFileChooser.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace md {
namespace {

struct FilterCase
{
    std::u16string filter; ///< as the product hands it to the chooser
    QString shown;         ///< the name the user sees for it
    QStringList listed;    ///< the files of the folder below that the dialog lists
};

std::u16string LanguageText(const char* language, const char* key)
{
    const IniFile ini = IniFile::Load(std::filesystem::path(MD_SOURCE_DATA_DIR) / "lang" /
                                      (language + std::string(".ini")));
    return QString::fromStdString(ini.ValueOr("ModuleDesignUIPlugin", key, "")).toStdU16String();
}

/// The product's filters: the panel's and the layout step's driver files, the socket file, the
/// transform's open and HUB browse, step 6's combined file (from the language files, where they
/// come from) and the cell design's pictures.
std::vector<FilterCase> ProductFilters()
{
    const QStringList drivers = {"a.MDR", "b.mdr"};
    std::vector<FilterCase> cases;
    for (const char* language : {"en-us", "zh-cn"}) {
        const std::u16string driver = LanguageText(language, "ID_MODULE_DRIVER_FILE");
        cases.push_back(
            {driver + u"(.MDR)|*.MDR||", QString::fromStdU16String(driver) + "(.MDR)", drivers});
        const std::u16string socket = LanguageText(language, "ID_SOCKET_FILE");
        cases.push_back(
            {socket + u"(.mjk)|*.mjk||", QString::fromStdU16String(socket) + "(.mjk)", {"d.mjk"}});
        const std::u16string combined = LanguageText(language, "IDS_MODULE_STEP6DLG_SAVEMHRFILE");
        const QString combinedName = QString::fromStdU16String(combined).section('|', 0, 0);
        cases.push_back({combined, combinedName, {"c.MHR"}});
    }
    cases.push_back({u"MDR or MHR files  (*.MDR;*.MHR)|*.MDR;*.MHR||",
                     "MDR or MHR files  (*.MDR;*.MHR)", drivers + QStringList{"c.MHR"}});
    cases.push_back({u"HUB files (.HDR)|*.HDR||", "HUB files (.HDR)", {"e.HDR"}});
    cases.push_back({u"Image Files (*.bmp)|*.bmp|", "Image Files (*.bmp)", {"f.bmp", "g.BMP"}});
    return cases;
}

/// The files the dialog's view lists once the folder has been read.
QStringList Listed(QFileDialog& dialog, const QString& folder)
{
    auto* model = dialog.findChild<QFileSystemModel*>();
    auto* view = dialog.findChild<QListView*>("listView");
    if (!model || !view)
        return {"no file list"};
    // The folder's entries arrive through queued signals, so none came before the spy.
    QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
    dialog.show();
    const bool done = QTest::qWaitFor([&] {
        for (const auto& arguments : loaded)
            if (arguments.at(0).toString() == folder)
                return true;
        return false;
    });
    if (!done)
        return {"folder never loaded"};
    QStringList names;
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row)
        names << view->model()->index(row, 0, root).data().toString();
    names.sort();
    return names;
}

TEST(FileDialogListsMatchingFilesTest, EveryProductFilterListsExactlyItsFiles)
{
    QTemporaryDir temp;
    const QString folder = QFileInfo(temp.path()).canonicalFilePath();
    for (const char* name : {"a.MDR", "b.mdr", "c.MHR", "d.mjk", "e.HDR", "f.bmp", "g.BMP", "h.txt",
                             "MDR", "i.MDR.bak", "mjk"}) {
        QFile file(folder + '/' + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    for (const FilterCase& c : ProductFilters()) {
        for (const auto mode : {QtFileChooser::Mode::Open, QtFileChooser::Mode::Save}) {
            const QString what = QString::fromStdU16String(c.filter) +
                                 (mode == QtFileChooser::Mode::Open ? " (open)" : " (save)");
            FileRequest request;
            request.filter = c.filter;
            request.defaultExtension = u"MDR";
            request.defaultName = u"module.MDR";
            request.folder = folder.toStdString();
            const auto dialog = QtFileChooser::MakeDialog(nullptr, request, mode);
            EXPECT_EQ(Listed(*dialog, folder).join(", ").toStdString(),
                      c.listed.join(", ").toStdString())
                << qPrintable(what);
            // The name stays as the product gives it (Qt only collapses runs of blanks); the
            // patterns do not show.
            auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
            ASSERT_TRUE(types) << qPrintable(what);
            EXPECT_EQ(types->count(), 1) << qPrintable(what);
            EXPECT_EQ(types->itemText(0).toStdString(), c.shown.simplified().toStdString())
                << qPrintable(what);
            // A save keeps the offered name: the filter does not rewrite its extension.
            if (mode == QtFileChooser::Mode::Save) {
                auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
                ASSERT_TRUE(name);
                EXPECT_EQ(name->text().toStdString(), "module.MDR") << qPrintable(what);
            }
        }
    }
}

} // namespace
} // namespace md
