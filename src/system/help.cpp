// The Help command: the document beside the program, the command line that opens it, and the
// message shown when the word processor cannot be started.
#include "system/help.h"

namespace {

// The full path of DeskBroom.doc in the given folder.
std::u16string HelpDocumentPath(const std::u16string& programFolder) {
    return programFolder + u"\\DeskBroom.doc";
}

}  // namespace

std::u16string HelpCommandLine(const std::u16string& programFolder) {
    return u"Write \"" + HelpDocumentPath(programFolder) + u"\"";
}

std::u16string HelpNotFoundText(const std::u16string& message,
                                const std::u16string& programFolder) {
    // Message boxes break lines at a lone carriage return.
    return message + u"\r\r" + HelpDocumentPath(programFolder);
}
