#pragma once

// What a printed worksheet holds and how it numbers the points.
struct WorksheetOptions {
    enum class Numbering { FileOrder, Shuffled };

    bool mapPages = true;    // the map with a numbered circle on every point
    bool answerSheet = true; // number, hint and a line to write on
    bool answerKey = true;   // number, answer 1, answer 2, information
    Numbering numbering = Numbering::FileOrder;
    bool hintsOnMap = false; // the hint beside each number on the map

    bool hasAnyPart() const { return mapPages || answerSheet || answerKey; }
    friend bool operator==(const WorksheetOptions&, const WorksheetOptions&) = default;
};
