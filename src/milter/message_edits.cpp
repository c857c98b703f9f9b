#include "milter/message_edits.h"

#include <algorithm>
#include <map>
#include <strings.h>

namespace {

const char kCrlf[] = "\r\n";

// The header block (each field line with its CRLF, without the empty line) and the body.
void SplitMessage(const std::string& message, std::string& header, std::string& body)
{
    std::size_t blankLine = message.compare(0, 2, kCrlf) == 0 ? 0 : message.find("\r\n\r\n");
    if (blankLine == std::string::npos) {
        header = message;
        body.clear();
        return;
    }
    std::size_t headerEnd = blankLine == 0 ? 0 : blankLine + 2;
    header = message.substr(0, headerEnd);
    body = message.substr(headerEnd + 2);
}

bool SameField(const HeaderField& left, const HeaderField& right)
{
    return left.name == right.name && left.value == right.value;
}

bool SameName(const std::string& left, const std::string& right)
{
    return strcasecmp(left.c_str(), right.c_str()) == 0;
}

// Pairs of positions (original, filtered) of the longest run of fields common to both,
// in order.
std::vector<std::pair<std::size_t, std::size_t>> CommonFields(const std::vector<HeaderField>& original,
                                                               const std::vector<HeaderField>& filtered)
{
    std::size_t rows = original.size();
    std::size_t columns = filtered.size();
    std::vector<std::vector<unsigned>> length(rows + 1, std::vector<unsigned>(columns + 1, 0));
    for (std::size_t row = rows; row-- > 0;) {
        for (std::size_t column = columns; column-- > 0;) {
            length[row][column] = SameField(original[row], filtered[column])
                                      ? length[row + 1][column + 1] + 1
                                      : std::max(length[row + 1][column], length[row][column + 1]);
        }
    }
    std::vector<std::pair<std::size_t, std::size_t>> pairs;
    std::size_t row = 0;
    std::size_t column = 0;
    while (row < rows && column < columns) {
        if (SameField(original[row], filtered[column])) {
            pairs.emplace_back(row++, column++);
        } else if (length[row + 1][column] >= length[row][column + 1]) {
            ++row;
        } else {
            ++column;
        }
    }
    return pairs;
}

// The occurrence number, from 1, of each original field among the fields of its name.
std::vector<int> OccurrenceIndexes(const std::vector<HeaderField>& fields)
{
    std::map<std::string, int> seen;
    std::vector<int> indexes;
    for (const HeaderField& field : fields) {
        std::string key = field.name;
        std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::tolower(c); });
        indexes.push_back(++seen[key]);
    }
    return indexes;
}

class HeaderEditor {
public:
    HeaderEditor(const std::vector<HeaderField>& original, const std::vector<HeaderField>& filtered,
                 MessageEdits& edits)
        : original(original), filtered(filtered), edits(edits), indexes(OccurrenceIndexes(original))
    {
    }

    void Run()
    {
        std::size_t row = 0;
        std::size_t column = 0;
        bool atTop = true;
        for (const auto& pair : CommonFields(original, filtered)) {
            Gap(row, pair.first, column, pair.second, atTop);
            row = pair.first + 1;
            column = pair.second + 1;
            atTop = false;
        }
        Gap(row, original.size(), column, filtered.size(), atTop);
        std::stable_sort(deletions.begin(), deletions.end(),
                         [](const HeaderChange& left, const HeaderChange& right) { return left.index > right.index; });
        edits.changes.insert(edits.changes.end(), deletions.begin(), deletions.end());
        std::reverse(edits.insertAtTop.begin(), edits.insertAtTop.end());
    }

private:
    // Original fields [row, rowEnd) stand where filtered fields [column, columnEnd) stand.
    // From the end of both runs backwards, a field of the same name takes the new value
    // and any other is deleted; what is left of the filtered run can only be new fields
    // on top of the header.
    void Gap(std::size_t row, std::size_t rowEnd, std::size_t column, std::size_t columnEnd, bool atTop)
    {
        while (rowEnd > row && columnEnd > column) {
            --rowEnd;
            if (SameName(original[rowEnd].name, filtered[columnEnd - 1].name)) {
                --columnEnd;
                edits.changes.push_back({original[rowEnd].name, indexes[rowEnd], false, filtered[columnEnd].value});
            } else {
                Delete(rowEnd);
            }
        }
        for (; row < rowEnd; ++row) {
            Delete(row);
        }
        if (column < columnEnd && !atTop) {
            edits.expressible = false;
        } else {
            edits.insertAtTop.insert(edits.insertAtTop.end(), filtered.begin() + column, filtered.begin() + columnEnd);
        }
    }

    void Delete(std::size_t row)
    {
        deletions.push_back({original[row].name, indexes[row], true, std::string()});
    }

    const std::vector<HeaderField>& original;
    const std::vector<HeaderField>& filtered;
    MessageEdits& edits;
    std::vector<int> indexes;
    std::vector<HeaderChange> deletions;
};

}  // namespace

bool ParseHeaderFields(const std::string& block, std::vector<HeaderField>& fields)
{
    fields.clear();
    std::size_t start = 0;
    while (start < block.size()) {
        std::size_t end = block.find(kCrlf, start);
        end = end == std::string::npos ? block.size() : end;
        std::string line = block.substr(start, end - start);
        start = end + 2;
        if (!line.empty() && (line[0] == ' ' || line[0] == '\t')) {
            if (fields.empty()) {
                return false;
            }
            fields.back().value += "\n" + line;
            continue;
        }
        std::size_t colon = line.find(':');
        if (colon == std::string::npos) {
            fields.push_back({line, std::string()});
        } else {
            fields.push_back({line.substr(0, colon), line.substr(colon + 1)});
        }
    }
    return true;
}

MessageEdits EditsBetween(const std::string& original, const std::string& filtered)
{
    MessageEdits edits;
    std::string originalHeader;
    std::string originalBody;
    std::string filteredHeader;
    SplitMessage(original, originalHeader, originalBody);
    SplitMessage(filtered, filteredHeader, edits.body);
    std::vector<HeaderField> originalFields;
    std::vector<HeaderField> filteredFields;
    if (!ParseHeaderFields(originalHeader, originalFields) || !ParseHeaderFields(filteredHeader, filteredFields)) {
        edits.expressible = false;
        return edits;
    }
    HeaderEditor(originalFields, filteredFields, edits).Run();
    edits.replaceBody = edits.body != originalBody;
    if (!edits.replaceBody) {
        edits.body.clear();
    }
    return edits;
}
