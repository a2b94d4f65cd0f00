#include "Title.h"

#include "ArtTable.h"
#include "Lettering.h"

#include <algorithm>
#include <limits>

namespace zanthera::art {

namespace {

constexpr QChar tatweel(0x0640);

// Whether the letter at i is written joined to the one after it.
bool joinsNext(const QString& word, qsizetype i) {
    const auto joinsAfter = [](QChar c) {
        return c.joiningType() == QChar::Joining_Dual || c.joiningType() == QChar::Joining_Causing;
    };
    const auto joinsBefore = [&](QChar c) {
        return joinsAfter(c) || c.joiningType() == QChar::Joining_Right;
    };
    return i + 1 < word.size() && joinsAfter(word[i]) && joinsBefore(word[i + 1]);
}

int countJoins(const QString& word) {
    int joins = 0;
    for (qsizetype i = 0; i < word.size(); ++i)
        joins += joinsNext(word, i) ? 1 : 0;
    return joins;
}

double aspect(const QPainterPath& outline) {
    const QRectF bounds = outline.boundingRect();
    return bounds.width() / bounds.height();
}

// The longest even lengthening that leaves the word no wider, for its height, than the box: the
// rest of the width comes from stretching the letters, which then stay close to their own shapes.
Result<QPainterPath> bestLengthening(const QRawFont& face, const QString& word, double target) {
    Result<QPainterPath> best = textOutline(face, word);
    if (!best || countJoins(word) == 0)
        return best;
    // Every tatweel widens the word, so the loop ends once the word is wider than the box.
    for (int perJoin = 1;; ++perJoin) {
        Result<QPainterPath> longer = textOutline(face, lengthenJoins(word, perJoin));
        if (!longer)
            return longer.error();
        if (aspect(*longer) > target)
            return best;
        best = std::move(longer);
    }
}

QPainterPath mapOnto(const QPainterPath& outline, const QRectF& target) {
    const QRectF bounds = outline.boundingRect();
    QTransform transform;
    transform.translate(target.left(), target.top());
    transform.scale(target.width() / bounds.width(), target.height() / bounds.height());
    transform.translate(-bounds.left(), -bounds.top());
    return transform.map(outline);
}

struct InkBox {
    int left = std::numeric_limits<int>::max();
    int top = std::numeric_limits<int>::max();
    int right = -1;
    int bottom = -1;
};

InkBox inkBox(const Coverage& ink) {
    InkBox box;
    for (int y = 0; y < ink.height; ++y)
        for (int x = 0; x < ink.width; ++x)
            if (ink.at(x, y) != 0)
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
                       std::max(box.bottom, y)};
    return box;
}

} // namespace

QString lengthenJoins(const QString& word, int perJoin) {
    QString out;
    for (qsizetype i = 0; i < word.size(); ++i) {
        out += word[i];
        if (joinsNext(word, i))
            out += QString(perJoin, tatweel);
    }
    return out;
}

Status paintTitle(PixelBuffer& background, const QRawFont& face) {
    const QString word = QString::fromUtf8(titleText.data(), qsizetype(titleText.size()));
    const Result<QPainterPath> outline =
        bestLengthening(face, word, double(titleBox.width()) / titleBox.height());
    if (!outline)
        return outline.error();
    // Whether an edge pixel is inked depends on where the outline crosses it, so the outline's
    // place is nudged until the inked pixels fill the box, no more and no less.
    QRectF target(titleBox.left, titleBox.top, titleBox.width(), titleBox.height());
    for (int attempt = 0; attempt < 40; ++attempt) {
        const Coverage ink =
            rasterize(mapOnto(*outline, target), background.width, background.height, false);
        const InkBox box = inkBox(ink);
        const int missLeft = box.left - titleBox.left, missTop = box.top - titleBox.top;
        const int missRight = titleBox.right - box.right, missBottom = titleBox.bottom - box.bottom;
        if (missLeft == 0 && missTop == 0 && missRight == 0 && missBottom == 0) {
            for (int y = 0; y < ink.height; ++y)
                for (int x = 0; x < ink.width; ++x)
                    if (ink.at(x, y) != 0)
                        background.set(x, y, titleInk);
            return success();
        }
        constexpr double nudge = 0.25;
        target.adjust(-nudge * missLeft, -nudge * missTop, nudge * missRight, nudge * missBottom);
    }
    return Error{"the title cannot be fitted to its box"};
}

} // namespace zanthera::art
