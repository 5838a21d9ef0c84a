// The Help command: the document beside the program, the command line that opens it, and the
// message shown when it cannot be opened.
#include "system/help.h"

std::u16string HelpDocumentPath(const std::u16string& programFolder) {
    return programFolder + u"\\DeskBroom.doc";
}

std::u16string HelpCommandLine(const std::u16string& programFolder) {
    return u"Write \"" + HelpDocumentPath(programFolder) + u"\"";
}

std::u16string HelpNotFoundText(const std::u16string& message,
                                const std::u16string& programFolder) {
    // Message boxes break lines at a lone carriage return.
    return message + u"\r\r" + HelpDocumentPath(programFolder);
}
