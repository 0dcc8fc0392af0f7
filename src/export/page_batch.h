#pragma once

#include <QString>
#include <functional>

#include "input/batch.h"

namespace corvane {

namespace input {
class MembersInput;
}

// What a batch does with a page whose file is there already.
enum class ExistingPages { Refuse, Skip, Replace };

struct PageBatchSettings {
    QString folder;  // made when it does not exist
    ExistingPages existing = ExistingPages::Refuse;
};

// How a running batch tells how it goes, on the thread that runs it.
struct PageBatchHooks {
    // The batch's messages: what the input was read as, each failed line.
    input::Messages messages;
    // The lines finished so far, after each line in input order.
    std::function<void(const input::BatchTally&)> progress = [](const input::BatchTally&) {};
    // Whether to stop: asked before each line is read and each page begun,
    // on any thread.
    std::function<bool()> stopped = [] { return false; };
};

// How a batch ended.
struct PageBatchOutcome {
    input::BatchTally tally;
    bool begun = false;    // the folder was there to write into
    bool stopped = false;  // asked to stop, so pages may be left undone
    bool failed = false;   // the folder or the results table could not be written
};

// One page per member of the input, drawn by as many threads as there are
// cores and written into the folder, and the results table (kResultsTableName)
// beside them. The faces are cut down to the characters the pages can show
// first. Whether a page's file exists is decided before it is drawn. A line
// that cannot be read or written is told with its number, in input order;
// the others are still written. The table holds a row for every line
// finished, a skipped page's from its evaluation, and replaces an older one
// unless existing pages are refused.
PageBatchOutcome writePageBatch(const input::MembersInput& members,
                                const PageBatchSettings& settings, const PageBatchHooks& hooks);

}  // namespace corvane
