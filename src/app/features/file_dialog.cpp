// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/file_dialog.h"

#include "language/language.h"

#include <QDateTime>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QIdentityProxyModel>

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

} // namespace

void speakProgramLanguage(QFileDialog &dialog)
{
    dialog.setProxyModel(new LocaleFileModel(&dialog));
}

} // namespace knight
