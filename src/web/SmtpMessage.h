#pragma once

#include <ctime>
#include <fstream>
#include <string>
#include <string_view>

namespace lv {

// Pieces of the message that the server and mail readers see.
inline constexpr std::string_view kSmtpTextContentType = "Content-Type: text/plain; charset=\"";
inline constexpr std::string_view kSmtpBoundaryParam = "boundary=\"";
inline constexpr std::string_view kSmtpNameParam = "name=\"";
inline constexpr std::string_view kSmtpFileNameParam = "filename=\"";

// A body line as it goes on the wire: a leading "." is doubled so that the server does not
// take the line for the end of the message.
std::string SmtpDotStuff(std::string_view line);

// "= Multipart Boundary " + the time as month abbreviation, day, two-digit year, hour, minute
// ("= Multipart Boundary Dec10260249").
std::string SmtpBoundary(const std::tm& localTime);

// Without blanks and tabs at either end (addresses as the user typed them).
std::string SmtpTrim(std::string_view text);

// Without CRs and LFs: inside a command argument they would start a second command of the
// caller's making.
std::string SmtpOneLine(std::string text);

// Reads a file in 45-byte steps and hands out its Base64 lines of 60 characters (the last one
// shorter); an empty file gives one empty line.
class SmtpBase64File {
public:
    static constexpr std::size_t kBytesPerLine = 45;

    // False when the file cannot be opened.
    bool Open(const std::string& fileName);
    bool IsOpen() const { return open_; }
    // The next line; false when reading failed. After the last line, AtEnd() holds.
    bool NextLine(std::string& line);
    bool AtEnd() const { return atEnd_; }
    void Close();

private:
    std::ifstream in_;
    bool open_ = false;
    bool atEnd_ = false;
};

} // namespace lv
