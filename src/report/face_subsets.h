#pragma once

#include <QString>
#include <vector>

namespace corvane {

// The three faces cut down to the characters a batch of pages can show, put in
// front of the whole faces while this lives. Qt embeds a page's glyphs from
// the cut faces, and what it spends on each font of each page grows with the
// characters the font maps: tens of thousands for a whole Chinese face, a few
// hundred here. Where HarfBuzz's subsetter is not built in (Windows), or a
// face cannot be cut, the whole faces are used as before.
class FaceSubsets {
public:
    explicit FaceSubsets(const QString& characters);
    ~FaceSubsets();
    FaceSubsets(const FaceSubsets&) = delete;
    FaceSubsets& operator=(const FaceSubsets&) = delete;

    // How many of the faces are cut.
    std::size_t count() const { return fonts_.size(); }

private:
    std::vector<int> fonts_;  // application font ids
};

}  // namespace corvane
