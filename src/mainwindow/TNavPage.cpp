#include "mainwindow/TNavPage.h"

#include "store/Text.h"

#include <algorithm>

namespace lv {

std::vector<NavPageRow> NavPageRows(const std::vector<std::string>& pages, bool alphabetical) {
    std::vector<NavPageRow> rows;
    rows.reserve(pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        rows.push_back({pages[i], static_cast<int>(i) + 1});
    }
    if (alphabetical) {
        std::stable_sort(rows.begin(), rows.end(), [](const NavPageRow& a, const NavPageRow& b) {
            return LessText1252(a.name, b.name);
        });
    }
    return rows;
}

int NavPageTarget(int current, int chosenNumber, int pageCount) {
    return chosenNumber >= 1 && chosenNumber <= pageCount ? chosenNumber - 1 : current;
}

} // namespace lv
