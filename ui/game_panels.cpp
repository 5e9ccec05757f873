#include "ui/game_panels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/widgets.h"

namespace ui {

BelowBoardRow::BelowBoardRow(QWidget* parent) : QWidget(parent) {
    setObjectName("SousDamier");
    // Two lines, so that the three buttons and the capture phrase all fit
    // under a narrow board in every language: the phrase on the first, the
    // buttons on the second. The phrase keeps its room while hidden, so the
    // board does not jump when it comes and goes.
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(8, 2, 8, 4);
    column->setSpacing(2);
    auto* phrase = new QHBoxLayout;
    QFont strong = font();
    strong.setPointSizeF(strong.pointSizeF() * 1.1);
    strong.setBold(true);
    for (const char* name : {"Prise", "obligatoire", "majoritaire"}) {
        QLabel* l = named(new QLabel(QString::fromLatin1(name), this), name);
        l->setFont(strong);
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, QColor(190, 0, 0));
        l->setPalette(pal);
        QSizePolicy policy = l->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        l->setSizePolicy(policy);
        l->hide();
        phrase->addWidget(l);
        captureLabels.push_back(l);
    }
    phrase->addStretch(1);
    column->addLayout(phrase);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    offerDraw = named(new QPushButton(QStringLiteral("Proposer nul"), this), "Proposernul");
    drawRefused = named(new QPushButton(QString::fromUtf8("Nul refusé"), this), "Nulrefus");
    resign = named(new QPushButton(QStringLiteral("Abandonner"), this), "Abandon");
    drawRefused->hide();
    resign->hide();
    for (QPushButton* b : {offerDraw, drawRefused, resign}) buttons->addWidget(b);
    column->addLayout(buttons);
}

EndOfGamePanel::EndOfGamePanel(QWidget* parent)
    : DialogPanel(parent, "fin_de_parties", QSize(400, 150), Placement::AwayFromLastMove) {
    message = named(new QLabel(this), "qui_gagne");
    QFont big = font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    message->setFont(big);
    message->setAlignment(Qt::AlignCenter);
    message->setWordWrap(true);
    whiteRating = named(new QLabel(this), "Resultat_blanc");
    blackRating = named(new QLabel(this), "Resultat_noir");
    ok = named(new QPushButton(QStringLiteral("OK"), this), "BitBtn13");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(14, 12, 14, 12);
    column->addWidget(message);
    column->addWidget(whiteRating);
    column->addWidget(blackRating);
    column->addWidget(ok, 0, Qt::AlignHCenter);
    setButtons(ok, nullptr);
}

DrawOfferPanel::DrawOfferPanel(QWidget* parent)
    : DialogPanel(parent, "Match_nul", QSize(320, 130), Placement::AwayFromLastMove) {
    QLabel* offered = named(new QLabel(QStringLiteral("Tavolex propose le match nul"), this), "Label30");
    QLabel* howTo = named(new QLabel(QStringLiteral("Appuyez sur OK pour accepter"), this), "Label31");
    accept = named(new QPushButton(QStringLiteral("OK"), this), "BitBtn14");
    decline = named(new QPushButton(QStringLiteral("Annuler"), this), "Annul_nul");
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(14, 12, 14, 12);
    for (QLabel* l : {offered, howTo}) {
        l->setAlignment(Qt::AlignCenter);
        column->addWidget(l);
    }
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(accept);
    row->addWidget(decline);
    row->addStretch(1);
    column->addLayout(row);
    setButtons(accept, decline);
}

ExcusePanel::ExcusePanel(QWidget* parent) : DialogPanel(parent, "Zut", QSize(300, 40), Placement::BottomOfBoard) {
    QLabel* text =
        named(new QLabel(QString::fromUtf8("Zut ! ce n'est pas cela que je voulais jouer."), this), "ZutTexte");
    text->setAlignment(Qt::AlignCenter);
    (new QVBoxLayout(this))->addWidget(text);
    setFocusPolicy(Qt::NoFocus);
}

}  // namespace ui
