#pragma once
// Reads back the text of a PDF file written by Qt's PDF printer. Qt draws
// each glyph with its own "Td" move and "<gid> Tj", in a subset font whose
// ToUnicode map gives the characters: the glyphs are mapped back through
// that map and gathered into lines by their vertical position, in the
// order the lines were drawn. Qt's map gives the blank's glyph as a tab; it
// comes back as a blank.

#include <QByteArray>

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

#include <cmath>
#include <utility>
#include <vector>

namespace testsupport {

// Every stream of the file, inflated when it is compressed.
inline QList<QByteArray> pdfStreams(const QByteArray& pdf) {
    QList<QByteArray> out;
    qsizetype at = 0;
    while ((at = pdf.indexOf("stream", at)) >= 0) {
        if (at >= 3 && pdf.mid(at - 3, 3) == "end") {
            at += 6;
            continue;
        }
        const qsizetype dictStart = pdf.lastIndexOf("<<", at);
        const QByteArray dict = pdf.mid(dictStart, at - dictStart);
        qsizetype begin = at + 6;
        if (pdf[begin] == '\r') ++begin;
        if (pdf[begin] == '\n') ++begin;
        const qsizetype end = pdf.indexOf("endstream", begin);
        if (end < 0) break;
        QByteArray data = pdf.mid(begin, end - begin);
        if (dict.contains("/FlateDecode")) {
            // qUncompress wants the expected size first; it grows beyond it as needed.
            data.prepend(QByteArray("\x00\x10\x00\x00", 4));
            data = qUncompress(data);
        }
        out << data;
        at = end + 9;
    }
    return out;
}

inline QStringList pdfTextLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QList<QByteArray> streams = pdfStreams(f.readAll());

    // The glyph-to-character maps of the fonts (all fonts alike: the test prints with one).
    QMap<int, QString> glyphs;
    const QRegularExpression hex(QStringLiteral("<([0-9A-Fa-f]+)>"));
    for (const QByteArray& s : streams) {
        if (!s.contains("begincmap")) continue;
        const QString text = QString::fromLatin1(s);
        for (const QString& section : text.split(QStringLiteral("begin"))) {
            const bool range = section.startsWith(QStringLiteral("bfrange"));
            if (!range && !section.startsWith(QStringLiteral("bfchar"))) continue;
            for (const QString& line : section.split('\n')) {
                QList<uint> values;
                auto it = hex.globalMatch(line);
                while (it.hasNext()) values << it.next().captured(1).toUInt(nullptr, 16);
                if (!range && values.size() == 2) {
                    glyphs[int(values[0])] = QChar(char16_t(values[1]));
                } else if (range && values.size() >= 3) {
                    const bool array = line.contains('[');
                    for (uint g = values[0]; g <= values[1]; ++g) {
                        const uint k = g - values[0];
                        if (array && 2 + k < uint(values.size())) glyphs[int(g)] = QChar(char16_t(values[2 + k]));
                        if (!array) glyphs[int(g)] = QChar(char16_t(values[2] + k));
                    }
                }
            }
        }
    }

    // The glyphs drawn, gathered by their height on the page.
    std::vector<std::pair<long, QString>> rows;
    const QRegularExpression op(QStringLiteral(
        "([-0-9.]+) ([-0-9.]+) Td\\s*<([0-9A-Fa-f]+)> Tj|([-0-9.]+) ([-0-9.]+) ([-0-9.]+) ([-0-9.]+) ([-0-9.]+) ([-0-9.]+) Tm|BT"));
    for (const QByteArray& s : streams) {
        if (!s.contains(" Tj")) continue;
        double x = 0, y = 0;
        auto it = op.globalMatch(QString::fromLatin1(s));
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            if (m.captured(0) == QStringLiteral("BT")) {
                x = y = 0;
            } else if (!m.captured(4).isEmpty()) {
                x = m.captured(8).toDouble();
                y = m.captured(9).toDouble();
            } else {
                x += m.captured(1).toDouble();
                y += m.captured(2).toDouble();
                const long row = std::lround(y);
                auto r = std::find_if(rows.begin(), rows.end(), [row](const auto& p) { return p.first == row; });
                if (r == rows.end()) r = rows.insert(rows.end(), {row, QString()});
                const QString code = m.captured(3);
                for (qsizetype i = 0; i + 4 <= code.size(); i += 4) {
                    QString c = glyphs.value(code.mid(i, 4).toInt(nullptr, 16), QStringLiteral("?"));
                    r->second += c == QStringLiteral("\t") ? QStringLiteral(" ") : c;
                }
            }
        }
    }
    QStringList lines;
    for (const auto& [height, text] : rows) lines << text;
    return lines;
}

}  // namespace testsupport
