#include "app/ui/FrmAbout.h"

#include "app/ui/ProgramPicture.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFrmAbout::TFrmAbout(QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                  | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FrmAbout"));
    setWindowTitle(tr("O programie..."));

    auto *banner = new QLabel(this);
    banner->setObjectName(QStringLiteral("imgBanner"));
    banner->setPixmap(ProgramPicture(QSize(360, 110)));

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("imgIcon"));
    icon->setPixmap(ProgramPicture(QSize(32, 32), false));

    auto *description
        = new QLabel(tr("program do pomiaru charakterystyk kierunkowości głośników"), this);
    description->setObjectName(QStringLiteral("lblOpis"));
    description->setWordWrap(true);
    auto *version = new QLabel(tr("wersja 1.0"), this);
    version->setObjectName(QStringLiteral("lblWersja"));

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *ok = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    // OK is also the cancel button: Escape and the close box end the dialog the same way.
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *texts = new QVBoxLayout;
    texts->addWidget(description);
    texts->addWidget(version);
    auto *row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addLayout(texts, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(banner);
    layout->addLayout(row);
    layout->addWidget(line);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
