#include "tools/validate_isolation.h"

namespace tarvokin::validate {

std::vector<std::string> lastLines(std::FILE* file, std::size_t count) {
    std::vector<std::string> lines;
    if (file == nullptr || std::fseek(file, 0, SEEK_SET) != 0) {
        return lines;
    }
    std::string line;
    for (int c = std::fgetc(file);; c = std::fgetc(file)) {
        if (c == EOF || c == '\n' || c == '\r') {
            if (!line.empty()) {
                lines.push_back(line);
                if (lines.size() > count) {
                    lines.erase(lines.begin());
                }
            }
            line.clear();
            if (c == EOF) {
                break;
            }
        } else if (c == '\x1b') {
            while (c != EOF && c != 'm') {
                c = std::fgetc(file);
            }
        } else if (line.size() < 200) {
            line += static_cast<char>(c);
        }
    }
    return lines;
}

} // namespace tarvokin::validate
