#pragma once

// The words and message-box styles of what the operations report: the
// operations say what happened, the app decides how the player is told. The
// window's boxes and the console's lines come from here; where a message says
// what to do next, it does so in the front end's wording.

#include <string>
#include <string_view>

#include "operations/apply.h"
#include "operations/plan.h"
#include "operations/restore.h"
#include "platform/result.h"
#include "platform/text_codec.h"
#include "words/wording.h"

namespace quorvik::words {

struct Message {
    std::string text;  // UTF-8
    int style;

    bool operator==(const Message&) const = default;
};

// A problem with the game's Data folder found while loading it.
Message dataFolderMessage(const platform::Problem& problem);

// A path as the player should read it: ".." resolved in words only.
std::string shownPath(const std::filesystem::path& path);

// Why a save leaves a settings file as it is: the save's own message box, and
// the one line Show Changes gives it.
Message refusalMessage(const operations::Refusal& refusal, const platform::CodePage& codePage,
                       const Wording& wording);
std::string refusalLine(const operations::Refusal& refusal);

// What a save leaves alone in the Data folder: the box and the line.
Message noteMessage(const operations::Note& note, const platform::CodePage& codePage,
                    const Wording& wording);
std::string noteLine(const operations::Note& note, const platform::CodePage& codePage,
                     const Wording& wording);

// The plan as Show Changes and the console's --dry-run show it: setting by
// setting, then the lines dropped or rewritten, the files the player edited,
// then what is left alone. Lines end in CR LF; `arrow` stands between before
// and after.
std::string planText(const operations::Plan& plan, const platform::CodePage& codePage,
                     std::string_view arrow, const Wording& wording);

// A value a save would write that is outside what its help lists:
// "Gamma Float 2.0 is outside what its help lists (0.50 - 1.50)".
std::string outsideLine(const catalogue::OutsideValue& outside, const platform::CodePage& codePage);
// The window's question before such a save: the values, then "Save anyway?".
std::string saveAnywayText(const std::vector<catalogue::OutsideValue>& outside,
                           const platform::CodePage& codePage);

// Files changed on disk since they were loaded, which a save does not
// overwrite.
std::string changedText(const std::vector<std::string>& files);

// A plan that was not carried out, or only in part: why, and what became of
// the files. Nothing to say for a plan carried out or refused as changed.
std::string failureText(const operations::Report& report);

// After a save that dropped lines, replaced files the player edited or
// overwrote a change made on disk: where the replaced files are kept.
std::string keptText(const operations::Report& report, const Wording& wording);

// File > Backup replaced backups Quorvik did not write: where they are kept.
std::string keptBackupsText(const operations::Report& report, const Wording& wording);

// What taking the settings folder did with a save a kill had cut off: the
// text, and the style (a warning where a file was left alone or not written).
Message recoveryMessage(const operations::Recovery& recovery, const Wording& wording);

// An item of File > Restore Backup...'s list, and the first line of what a
// restore from it did.
std::string restoreChoiceText(const operations::RestoreChoice& choice);
std::string restoreHeading(const operations::RestoreChoice& choice);

}  // namespace quorvik::words
