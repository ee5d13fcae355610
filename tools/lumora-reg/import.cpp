#include "tools/lumora-reg/import.h"

#include <memory>
#include <vector>

#include "platform/registry/transaction.h"
#include "tools/lumora-reg/key_path.h"
#include "tools/lumora-reg/tree.h"
#include "tools/lumora-reg/value_text.h"

namespace lumorareg {
namespace {

struct Step {
    enum Kind { kOpenKey, kDeleteKey, kValue } kind;
    int line;
    KeyPath key;
    ParsedValue value;
};

std::string TrimRight(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.pop_back();
    return text;
}

std::string TrimLeft(const std::string& text) {
    std::size_t start = text.find_first_not_of(" \t");
    return start == std::string::npos ? std::string() : text.substr(start);
}

std::string At(int line, const std::string& message) { return std::to_string(line) + ": " + message; }

// Lines end at a line feed only, so a carriage return or a zero byte can sit
// inside a name: the registry would store a name cut at the zero, or one
// that no export can write back as a line.
bool PlainName(const std::string& name) { return name.find_first_of(std::string("\r\0", 2)) == std::string::npos; }

bool Parse(std::istream& in, std::vector<Step>& steps, std::string& error) {
    std::string raw;
    int lineNumber = 0;
    bool sawHeader = false;
    bool inKey = false;
    while (std::getline(in, raw)) {
        ++lineNumber;
        if (lineNumber == 1 && raw.compare(0, 3, "\xEF\xBB\xBF") == 0) raw.erase(0, 3);
        std::string line = TrimRight(TrimLeft(raw));
        if (line.empty() || line[0] == ';') continue;
        if (!sawHeader) {
            if (line != "REGEDIT4") {
                error = At(lineNumber, "not a REGEDIT4 file (the first line must be REGEDIT4)");
                return false;
            }
            sawHeader = true;
            continue;
        }
        int start = lineNumber;
        while (!line.empty() && line.back() == '\\' && line[0] != '[') {
            line.pop_back();
            if (!std::getline(in, raw)) break;
            ++lineNumber;
            line += TrimRight(TrimLeft(raw));
        }
        if (line[0] == '[') {
            if (line.back() != ']') {
                error = At(start, "a key line must end with ]");
                return false;
            }
            bool remove = line.size() > 1 && line[1] == '-';
            std::string name = line.substr(remove ? 2 : 1, line.size() - (remove ? 3 : 2));
            Step step{remove ? Step::kDeleteKey : Step::kOpenKey, start, {}, {}};
            if (!PlainName(name)) {
                error = At(start, "a carriage return or zero byte in a key name");
                return false;
            }
            if (!ParseKeyPath(name, step.key)) {
                error = At(start, "unknown root key in \"" + name + "\"");
                return false;
            }
            if (remove && step.key.sub.empty()) {
                error = At(start, "a root key cannot be deleted");
                return false;
            }
            inKey = !remove;
            steps.push_back(step);
            continue;
        }
        Step step{Step::kValue, start, {}, {}};
        std::string reason;
        if (!ParseValue(line, step.value, reason)) {
            error = At(start, reason);
            return false;
        }
        if (!PlainName(step.value.name)) {
            error = At(start, "a carriage return or zero byte in a value name");
            return false;
        }
        if (!inKey) {
            error = At(start, "a value line outside a [KEY] section");
            return false;
        }
        steps.push_back(step);
    }
    if (!sawHeader) {
        error = At(lineNumber, "not a REGEDIT4 file (empty)");
        return false;
    }
    return true;
}

class Applier {
public:
    ~Applier() { CloseCurrent(); }

    LONG Apply(const Step& step) {
        switch (step.kind) {
        case Step::kOpenKey: {
            CloseCurrent();
            Join(step.key.root);
            return RegCreateKeyExA(step.key.root, step.key.sub.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_ALL_ACCESS, nullptr, &current_, nullptr);
        }
        case Step::kDeleteKey: {
            CloseCurrent();
            Join(step.key.root);
            LONG error = DeleteTree(step.key);
            return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
        }
        case Step::kValue: {
            const ParsedValue& v = step.value;
            if (v.remove) {
                LONG error = RegDeleteValueA(current_, v.name.c_str());
                return error == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : error;
            }
            return RegSetValueExA(current_, v.name.c_str(), 0, v.type, reinterpret_cast<const BYTE*>(v.data.data()),
                                  static_cast<DWORD>(v.data.size()));
        }
        }
        return ERROR_INVALID_PARAMETER;
    }

    LONG Commit() {
        CloseCurrent();
        LONG result = ERROR_SUCCESS;
        for (auto& tx : transactions_) {
            if (!tx) continue;
            LONG error = tx->commit();
            if (result == ERROR_SUCCESS) result = error;
        }
        return result;
    }

private:
    // HKEY_CLASSES_ROOT lives in the machine hive.
    void Join(HKEY root) {
        auto& tx = transactions_[root == HKEY_CURRENT_USER ? 0 : 1];
        if (!tx) tx = std::make_unique<platform::RegistryTransaction>(root);
    }

    void CloseCurrent() {
        if (current_) RegCloseKey(current_);
        current_ = nullptr;
    }

    std::unique_ptr<platform::RegistryTransaction> transactions_[2];
    HKEY current_ = nullptr;
};

}  // namespace

bool ImportRegedit(std::istream& in, std::string& error) {
    std::vector<Step> steps;
    if (!Parse(in, steps, error)) return false;
    Applier applier;
    for (const Step& step : steps) {
        LONG result = applier.Apply(step);
        if (result != ERROR_SUCCESS) {
            std::string what = step.kind == Step::kValue
                                   ? "value \"" + step.value.name + "\""
                                   : step.key.Full();
            error = At(step.line, what + ": " + ErrorText(result) + "; nothing was imported");
            return false;
        }
    }
    LONG result = applier.Commit();
    if (result != ERROR_SUCCESS) {
        error = "commit: " + ErrorText(result);
        return false;
    }
    return true;
}

}  // namespace lumorareg
