#pragma once

// The few phrases by which the messages tell the player what to do next.
// They default to the window's own, which point at its buttons and menus; a
// front end without them (the console) gives Form1 its own, so that nothing
// it prints asks for a click.

#include <string>
#include <string_view>

namespace quorvik::words {

struct Wording {
    // How to give Quorvik the settings folder when the start found none: after
    // "could not find your Documents folder", and after the places looked in.
    std::string noDocumentsFolder =
        "Click \"Set Video.scr\" to enter the folder that holds Video.scr.";
    std::string noSettingsFolder = "Click \"Set Video.scr\" to enter the folder that holds it.";
    // The same, where something cannot be done before the folder is known.
    std::string folderFirst = "Click \"Set Video.scr\" and enter the folder first.";

    // One settings file's phrases.
    struct File {
        // How to load it when something needs it loaded.
        std::string loadFirst;
        // When it was loaded, closing a sentence that says what went wrong then.
        std::string whenLoaded;
    };
    File video{"Click \"Set Video.scr\" first.", "when \"Set Video.scr\" ran"};
    File audio{"Click \"Set Audio.scr\" first.", "when \"Set Audio.scr\" ran"};
    // What reads the game's Data folder (with Video.scr), as the subject of a sentence.
    std::string dataReader = "\"Set Video.scr\"";

    // What holds the settings a save writes, as the subject of a sentence.
    std::string holder = "the window";
    // How to give a setting a value, closing "Set it ...".
    std::string setAgain = "in the window and save again";

    // What puts back the files the history keeps, as the subject of a sentence.
    std::string restore = "File > Restore Backup...";
    // Between "Config File Generated." and the name of the file about to be written.
    std::string toWrite = "Press OK to write file";

    // Video.scr's phrases or Audio.scr's, by the file's name.
    const File& of(std::string_view file) const { return file == "Audio.scr" ? audio : video; }
};

}  // namespace quorvik::words
