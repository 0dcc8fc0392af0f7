#include "report/face_subsets.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>

#include "report/faces.h"

#ifdef CORVANE_FACE_SUBSETS
#include <hb-subset.h>

#include <array>
#include <map>
#include <memory>
#endif

namespace corvane {

namespace {

#ifdef CORVANE_FACE_SUBSETS

template <typename T, void (*destroy)(T*)>
struct HbDeleter {
    void operator()(T* object) const { destroy(object); }
};
using HbFace = std::unique_ptr<hb_face_t, HbDeleter<hb_face_t, hb_face_destroy>>;
using HbBlob = std::unique_ptr<hb_blob_t, HbDeleter<hb_blob_t, hb_blob_destroy>>;
using HbSubsetInput =
    std::unique_ptr<hb_subset_input_t, HbDeleter<hb_subset_input_t, hb_subset_input_destroy>>;

// A face's tables as Qt reads them, whatever file they come from, each kept
// until the subsetter is done: HarfBuzz may use a table's bytes after letting
// go of the blob it got them in.
class Tables {
public:
    explicit Tables(const QRawFont& font) : font_(font) {}

    static hb_blob_t* table(hb_face_t*, hb_tag_t tag, void* tables) {
        return static_cast<Tables*>(tables)->table(tag);
    }

private:
    hb_blob_t* table(hb_tag_t tag) {
        const char name[] = {static_cast<char>(tag >> 24), static_cast<char>(tag >> 16),
                             static_cast<char>(tag >> 8), static_cast<char>(tag), '\0'};
        auto [kept, added] = kept_.try_emplace(tag);
        if (added) kept->second = font_.fontTable(name);
        if (kept->second.isEmpty()) return nullptr;  // no such table
        return hb_blob_create(kept->second.constData(), static_cast<unsigned>(kept->second.size()),
                              HB_MEMORY_MODE_READONLY, nullptr, nullptr);
    }

    const QRawFont& font_;
    std::map<hb_tag_t, QByteArray> kept_;
};

// The cut face as a font file, with the embedded bitmaps of the whole face,
// which the subsetter leaves out. Qt takes the line metrics of a face with
// embedded bitmaps from FreeType rather than from its tables, so without them
// a cut face could set its lines a little closer than the whole one.
hb_blob_t* withBitmapsOf(hb_face_t* cut, hb_face_t* whole) {
    const HbBlob cutFile(hb_face_reference_blob(cut));
    const HbFace cutFace(hb_face_create(cutFile.get(), 0));
    const HbFace built(hb_face_builder_create());
    std::array<hb_tag_t, 64> tags{};
    unsigned count = tags.size();
    hb_face_get_table_tags(cutFace.get(), 0, &count, tags.data());
    for (unsigned i = 0; i < count; ++i) {
        const HbBlob table(hb_face_reference_table(cutFace.get(), tags[i]));
        hb_face_builder_add_table(built.get(), tags[i], table.get());
    }
    for (const hb_tag_t bitmaps :
         {HB_TAG('E', 'B', 'L', 'C'), HB_TAG('E', 'B', 'D', 'T'), HB_TAG('E', 'B', 'S', 'C')}) {
        const HbBlob table(hb_face_reference_table(whole, bitmaps));
        if (hb_blob_get_length(table.get()) > 0) {
            hb_face_builder_add_table(built.get(), bitmaps, table.get());
        }
    }
    return hb_face_reference_blob(built.get());
}

// The font with the glyphs of the characters only (and those they lead to),
// as a font file; empty when it cannot be made.
QByteArray cutDown(const QRawFont& font, const QString& characters) {
    Tables tables(font);
    const HbFace whole(hb_face_create_for_tables(Tables::table, &tables, nullptr));
    const HbSubsetInput input(hb_subset_input_create_or_fail());
    if (!input) return {};
    // Every glyph keeps its index, so that the whole face's embedded bitmaps
    // still fit the cut face.
    hb_subset_input_set_flags(input.get(), HB_SUBSET_FLAGS_RETAIN_GIDS);
    hb_set_t* unicodes = hb_subset_input_unicode_set(input.get());
    for (const char32_t character : characters.toUcs4()) hb_set_add(unicodes, character);
    const HbFace cut(hb_subset_or_fail(whole.get(), input.get()));
    if (!cut) return {};
    const HbBlob file(withBitmapsOf(cut.get(), whole.get()));
    unsigned length = 0;
    const char* bytes = hb_blob_get_data(file.get(), &length);
    return QByteArray(bytes, static_cast<qsizetype>(length));
}

#else

QByteArray cutDown(const QRawFont&, const QString&) {
    return {};
}

#endif

}  // namespace

FaceSubsets::FaceSubsets(const QString& characters) {
    for (const Face each : {Face::Heiti, Face::Kaiti, Face::Songti}) {
        const QFont whole = face(each, 12);
        const QByteArray cut =
            cutDown(QRawFont::fromFont(whole, QFontDatabase::SimplifiedChinese), characters);
        if (cut.isEmpty()) continue;
        // A cut face keeps its family's name, and Qt prefers an application's
        // font to the system's of the same name; one named otherwise would
        // never be used, so it is not kept.
        const int id = QFontDatabase::addApplicationFontFromData(cut);
        if (id < 0) continue;
        if (QFontDatabase::applicationFontFamilies(id).contains(QFontInfo(whole).family())) {
            fonts_.push_back(id);
        } else {
            QFontDatabase::removeApplicationFont(id);
        }
    }
}

FaceSubsets::~FaceSubsets() {
    for (const int id : fonts_) QFontDatabase::removeApplicationFont(id);
}

}  // namespace corvane
