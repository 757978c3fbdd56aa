// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/features/guide_window.h"

#include <QFile>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace knight {

namespace {
constexpr QSize designedSize{560, 520};
} // namespace

GuideWindow::GuideWindow(QWidget *parent)
    : QDialog(parent)
{
    resize(designedSize);
    browser_ = new QTextBrowser(this);
    basePointSize_ = browser_->font().pointSizeF();
    // The guide's pictures are beside it in the resources.
    browser_->setSearchPaths({QStringLiteral(":/")});
    retranslate();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
}

void GuideWindow::setScale(double scale)
{
    QFont font = browser_->font();
    font.setPointSizeF(basePointSize_ * scale);
    browser_->setFont(font);
    QSize size = designedSize * scale;
    // The screen holds the window with its frame, which the window manager adds as it does to
    // the main window's.
    const QSize frame = parentWidget() ? parentWidget()->frameGeometry().size() - parentWidget()->size() : QSize();
    if (const QScreen *screen = this->screen())
        size = size.boundedTo(screen->availableGeometry().size() - frame);
    resize(size);
}

void GuideWindow::retranslate()
{
    setWindowTitle(tr("Упътване"));
    browser_->setMarkdown(guideMarkdown());
    browser_->setAccessibleName(tr("Упътване"));
}

QString GuideWindow::guideMarkdown(Language language)
{
    QFile file(language == Language::English ? QStringLiteral(":/guide.en.md") : QStringLiteral(":/guide.md"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace knight
