#pragma once
// The start panel, "Intro": the name, the board styles to begin with, and
// the six languages. It covers the window until a board is chosen.

#include <QFrame>

#include <array>

class QPushButton;

namespace ui {

class StartPanel : public QFrame {
    Q_OBJECT
public:
    explicit StartPanel(QWidget* parent = nullptr);

    // By style: 0 the flat board, 1..8 the perspective styles.
    std::array<QPushButton*, 9> styles;
    // By interface language: French, English, Dutch, Portuguese, Spanish, Italian.
    std::array<QPushButton*, 6> languages;
};

}  // namespace ui
