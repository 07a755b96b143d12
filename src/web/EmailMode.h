#pragma once

namespace lv {

// Which bookmarks the opener of the e-mail dialog put into the message: one from the editor, a
// page from the page options, groups of pages from the list command.
enum class EmailMode { None, One, Page, All };

} // namespace lv
