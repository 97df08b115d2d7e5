// "Bitmap save" and "Jpeg save": one save dialog, set up afresh for each
// command, then the picture written as the command says whatever the name.
// Writes SavePictureDialog1's suffix, filter and name; never the picture.
#include "app/TForm1.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QRegularExpression>

#include "app/Application.h"
#include "app/Guarded.h"
#include "export/PictureExport.h"

using namespace corvane;

namespace {

// The filter of each command: a first entry covering all of its
// extensions when it has more than one, then one entry per extension.
QStringList bitmapFilters()
{
    return {QStringLiteral("ビットマップ (*.bmp)")};
}

QStringList jpegFilters()
{
    return {QStringLiteral("すべてのファイル (*.jpg;*.jpeg)"),
            QStringLiteral("JPEG イメージファイル (*.jpg)"),
            QStringLiteral("JPEG イメージファイル (*.jpeg)")};
}

// Qt splits a filter's patterns at spaces only, so "*.jpg;*.jpeg" would match
// no file at all: the dialog's file list gets the patterns split at both.
void listByFilter(QFileDialog *dialog, const QString &filter)
{
    const QRegularExpression inParens(QStringLiteral("\\(([^()]*)\\)\\s*$"));
    const QRegularExpressionMatch m = inParens.match(filter);
    if (!m.hasMatch())
        return;
    const QStringList patterns
            = m.captured(1).split(QRegularExpression(QStringLiteral("[; ]")), Qt::SkipEmptyParts);
    for (QFileSystemModel *model : dialog->findChildren<QFileSystemModel *>())
        model->setNameFilters(patterns);
}

// Sets the dialog up for one command and asks; empty when the user cancels.
QString askFileName(QFileDialog *dialog, const QString &suffix, const QStringList &filters)
{
    dialog->setDefaultSuffix(suffix);
    dialog->setNameFilters(filters);
    dialog->selectNameFilter(filters.first());
    listByFilter(dialog, filters.first());
    const int result = dialog->exec();
    // The name completer lists the folder in the background and may open its
    // list after the dialog has closed, where it swallows the next click.
    for (QCompleter *completer : dialog->findChildren<QCompleter *>()) {
        completer->setWidget(nullptr);
        completer->popup()->hide();
    }
    if (result != QDialog::Accepted)
        return {};
    const QStringList names = dialog->selectedFiles();
    return names.isEmpty() ? QString() : names.first();
}

QFileDialog *createSavePictureDialog(QWidget *parent)
{
    // Qt's own dialog rather than the desktop's: the same on every desktop, and
    // a test can fill in its name. No overwrite question, as asked of the command.
    auto *dialog = new QFileDialog(parent);
    dialog->setObjectName(QStringLiteral("SavePictureDialog1"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
    QObject::connect(dialog, &QFileDialog::filterSelected, dialog,
                     guarded([dialog](const QString &filter) { listByFilter(dialog, filter); }));
    return dialog;
}

// A fresh dialog for each use, in the folder of the last one: Qt's dialog
// cannot be given an empty name once it holds one.
QFileDialog *savePictureDialog(TForm1 &form)
{
    QString folder;
    if (form.SavePictureDialog1) {
        folder = form.SavePictureDialog1->directory().absolutePath();
        delete form.SavePictureDialog1;
    }
    form.SavePictureDialog1 = createSavePictureDialog(&form);
    if (!folder.isEmpty())
        form.SavePictureDialog1->setDirectory(folder);
    return form.SavePictureDialog1;
}

} // namespace

void TForm1::BitsaveClick()
{
    if (busy()) // an effect would change the picture while it is written
        return;
    const QString name
            = askFileName(savePictureDialog(*this), QStringLiteral("bmp"), bitmapFilters());
    if (name.isEmpty())
        return;
    if (const SaveError error = saveBitmap(picture(), name))
        showError(*error);
}

void TForm1::JpegButtonClick()
{
    if (busy())
        return;
    const QString name
            = askFileName(savePictureDialog(*this), QStringLiteral("jpg"), jpegFilters());
    if (name.isEmpty())
        return;
    if (const SaveError error = saveJpeg(picture(), name))
        showError(*error);
}
