// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/file_dialog.h"

#include "language/language.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QIdentityProxyModel>
#include <QRegularExpression>

namespace knight {

namespace {

// The file list's columns, as QFileSystemModel numbers them.
enum Column { Name = 0, Size = 1, Type = 2, Modified = 3 };

class LocaleFileModel : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || !files || (index.column() != Size && index.column() != Modified))
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        const QLocale locale = languageLocale(languageInUse());
        if (index.column() == Size)
            return files->isDir(source) ? QString() : locale.formattedDataSize(files->size(source));
        return locale.toString(files->lastModified(source), QLocale::ShortFormat);
    }
};

// "pdf" of "Документ PDF (*.pdf)"; empty for "Всички файлове (*)".
QString filterSuffix(const QString &filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
    return pattern.match(filter).captured(1);
}

} // namespace

void speakProgramLanguage(QFileDialog &dialog)
{
    dialog.setProxyModel(new LocaleFileModel(&dialog));
}

QString askSaveName(QWidget *parent, const QString &title, const QString &filter, const QString &name)
{
    QFileDialog dialog(parent, title, {}, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QFileInfo(name).suffix());
    dialog.selectFile(name);
    speakProgramLanguage(dialog);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &chosen) {
        if (const QString suffix = filterSuffix(chosen); !suffix.isEmpty())
            dialog.setDefaultSuffix(suffix);
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

} // namespace knight
