#include "ui/form5.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ui {

namespace {

QLabel* caption(QWidget* parent, const char* text, int left, int top, int width = 200) {
    QLabel* l = new QLabel(QString::fromUtf8(text), parent);
    l->setGeometry(left, top, width, 18);
    return l;
}

QLineEdit* box(QWidget* parent, const QString& name, int left, int top, int width, int height, int fontPixels) {
    QLineEdit* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(left, top, width, height);
    QFont f = e->font();
    f.setPixelSize(fontPixels);
    e->setFont(f);
    e->setTextMargins(0, 0, 0, 0);
    e->setStyleSheet(QStringLiteral("QLineEdit { padding: 0px; }"));
    e->setAlignment(Qt::AlignCenter);
    return e;
}

// The grid panels' names and columns, in table order.
constexpr std::array<const char*, eval::NumManTables> GridNames = {
    "parmetre1", "parametre2", "parametre3", "parametre4", "parametre5", "parametre6", "parametre7", "parametre8"};
constexpr std::array<int, 4> GridLefts = {16, 200, 432, 616};
constexpr std::array<const char*, 8> GridCaptions = {
    "Début par défaut",         "Milieu par défaut",         "Préfinale par défaut",     "Finale par défaut",
    "Début variante type 1 : ", "Milieu variante type 1 : ", "Début variante type 2 : ", "Milieu variante type 2 : "};

}  // namespace

TForm5::TForm5(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("TForm5");
    setWindowTitle(QStringLiteral("Parameters"));
    setFixedSize(812, 567);
    parametre0 = new QFrame(this);
    parametre0->setObjectName("parametre0");
    parametre0->setFrameShape(QFrame::Panel);
    parametre0->setFrameShadow(QFrame::Raised);
    parametre0->setGeometry(16, 16, 777, 529);
    QWidget* panel = parametre0;

    // Row 8: the phase thresholds.
    const char* thresholdNames[] = {"phase0_bas", "phase1_bas", "phase2_bas"};
    caption(panel, "Début de partie : + de", 8, 8, 130);
    m_thresholds[0] = box(panel, thresholdNames[0], 138, 6, 30, 20, 11);
    caption(panel, "pièces", 172, 8, 40);
    caption(panel, "Milieu de parties : + de ", 220, 8, 140);
    m_thresholds[1] = box(panel, thresholdNames[1], 362, 6, 30, 20, 11);
    caption(panel, "pièces", 396, 8, 40);
    caption(panel, "Préfinale : + de ", 444, 8, 100);
    m_thresholds[2] = box(panel, thresholdNames[2], 544, 6, 30, 20, 11);
    caption(panel, "pièces", 578, 8, 40);
    caption(panel, "Finale : (le reste)", 640, 8, 120);

    // Two bands of four tables, each with its tempo weight above it and its
    // caption below: tempo rows at 32 and 272, grids at 48 and 296,
    // captions at 200 and 448.
    for (int t = 0; t < eval::NumManTables; ++t) {
        const int band = t / 4;
        const int left = GridLefts[static_cast<std::size_t>(t % 4)];
        const int tempoTop = band == 0 ? 32 : 272;
        const int gridTop = band == 0 ? 48 : 296;
        caption(panel, "Temps d'avance =", left, tempoTop - 4, 96)->setFont([&] {
            QFont f = font();
            f.setPixelSize(10);
            return f;
        }());
        m_tempo[static_cast<std::size_t>(t)] =
            box(panel, QStringLiteral("tempo%1").arg(t), left + 90, tempoTop - 5, 26, 16, 10);
        QLabel* unit = caption(panel, "/200 de pion", left + 118, tempoTop - 4, 70);
        QFont small = unit->font();
        small.setPixelSize(10);
        unit->setFont(small);

        QFrame* grid = new QFrame(panel);
        grid->setObjectName(GridNames[static_cast<std::size_t>(t)]);
        grid->setFrameShape(QFrame::Box);
        grid->setGeometry(left, gridTop, 145, 145);
        // From the top row down: 32-29, 28-25, ... 4-1, each written left to
        // right in decreasing order; the top row and every second row below
        // start on the second column.
        for (int row = 0; row < 8; ++row)
            for (int k = 0; k < 4; ++k) {
                const int square = 32 - 4 * row - k;
                const int x = (row % 2 == 0 ? 24 : 8) + 32 * k;
                m_tables[static_cast<std::size_t>(t)][static_cast<std::size_t>(square)] =
                    box(grid, QStringLiteral("table%1_%2").arg(t).arg(square), x, 8 + 16 * row, 17, 18, 9);
            }
        caption(panel, GridCaptions[static_cast<std::size_t>(t)], left, band == 0 ? 200 : 448, 160);
    }
    caption(panel, "Toutes les valeurs des tableaux sont en  1/200ème de pion", 16, 232, 500);

    // The opening structures' condition squares.
    caption(panel, "Variante type 1 si 8 des 14 conditions  ci après sont vérifiées :", 8, 464, 380);
    caption(panel, "Variante type 2 si 8 des 14 conditions  ci après sont vérifiées :", 392, 464, 380);
    for (int colour = 0; colour < 2; ++colour) {
        const int top = colour == 0 ? 480 : 504;
        caption(panel, colour == 0 ? "cases possiblement blanches" : "cases possiblement noires", 8, top + 2, 144);
        for (int variant = 0; variant < 2; ++variant)
            for (int i = 0; i < eval::NumConditionSquares; ++i) {
                const int left = (variant == 0 ? 152 : 424) + 24 * i;
                m_conditions[static_cast<std::size_t>(variant)][static_cast<std::size_t>(
                    colour)][static_cast<std::size_t>(i)] =
                    box(panel, QStringLiteral("v%1%2%3").arg(variant + 1).arg(colour == 0 ? "blanc" : "noir").arg(i),
                        left, top, 22, 20, 10);
            }
    }

    parametrecancel = new QPushButton(QStringLiteral("Cancel"), panel);
    parametrecancel->setObjectName("parametrecancel");
    parametrecancel->setGeometry(648, 480, 65, 41);
    parametreOK = new QPushButton(QStringLiteral("OK"), panel);
    parametreOK->setObjectName("parametreOK");
    parametreOK->setGeometry(712, 480, 65, 41);
}

int TForm5::boxCount() const { return static_cast<int>(findChildren<QLineEdit*>().size()); }

void TForm5::fillParameterEditor(const eval::EvalParameters& p) {
    for (int t = 0; t < eval::NumManTables; ++t)
        for (int q = 1; q <= rules::NumSquares; ++q)
            m_tables[static_cast<std::size_t>(t)][static_cast<std::size_t>(q)]->setText(
                QString::number(p.manTables[static_cast<std::size_t>(t)][static_cast<std::size_t>(q)]));
    m_thresholds[0]->setText(QString::number(p.p1));
    m_thresholds[1]->setText(QString::number(p.p2));
    m_thresholds[2]->setText(QString::number(p.p3));
    for (int i = 0; i < eval::NumTempoWeights; ++i)
        m_tempo[static_cast<std::size_t>(i)]->setText(QString::number(p.tempoWeights[static_cast<std::size_t>(i)]));
    const eval::ConditionSquares* sets[2][2] = {{&p.variant1White, &p.variant1Black},
                                                {&p.variant2White, &p.variant2Black}};
    for (std::size_t v = 0; v < 2; ++v)
        for (std::size_t c = 0; c < 2; ++c)
            for (std::size_t i = 0; i < eval::NumConditionSquares; ++i)
                m_conditions[v][c][i]->setText(QString::number((*sets[v][c])[i]));
}

void TForm5::readParameterEditor(eval::EvalParameters& p) const {
    auto low = [](const QLineEdit* e) {
        return static_cast<std::uint8_t>(static_cast<std::uint32_t>(decimalValue(e->text())) & 0xFF);
    };
    auto signedLow = [&](const QLineEdit* e) { return static_cast<std::int8_t>(low(e)); };
    for (int t = 0; t < eval::NumManTables; ++t)
        for (int q = 1; q <= rules::NumSquares; ++q)
            p.manTables[static_cast<std::size_t>(t)][static_cast<std::size_t>(q)] =
                low(m_tables[static_cast<std::size_t>(t)][static_cast<std::size_t>(q)]);
    p.p1 = signedLow(m_thresholds[0]);
    p.p2 = signedLow(m_thresholds[1]);
    p.p3 = signedLow(m_thresholds[2]);
    for (std::size_t i = 0; i < eval::NumTempoWeights; ++i) p.tempoWeights[i] = signedLow(m_tempo[i]);
    eval::ConditionSquares* sets[2][2] = {{&p.variant1White, &p.variant1Black}, {&p.variant2White, &p.variant2Black}};
    for (std::size_t v = 0; v < 2; ++v)
        for (std::size_t c = 0; c < 2; ++c)
            for (std::size_t i = 0; i < eval::NumConditionSquares; ++i)
                (*sets[v][c])[i] = signedLow(m_conditions[v][c][i]);
}

std::int32_t TForm5::decimalValue(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace()) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10u + static_cast<std::uint32_t>(text[i].unicode() - '0');
    if (negative) value = 0u - value;
    return static_cast<std::int32_t>(value);
}

}  // namespace ui
