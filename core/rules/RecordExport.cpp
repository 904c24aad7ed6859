#include "core/rules/RecordExport.h"

#include <algorithm>

#include "core/digest/Fingerprint.h"
#include "core/text/TextParts.h"

namespace rumone {

namespace {

std::optional<int> targetOf(std::string_view text)
{
    return wholeNumberIn(text, 0, kMaxDrawNumber);
}

constexpr std::size_t kLogFieldCount = 1 + std::tuple_size_v<PredictionFields> + 5;

std::string logLineOf(const SaltedPrediction& p)
{
    std::string line = kLogLineMark;
    for (const std::string& field : p.fields)
        line += '\t' + field;
    return line + '\t' + p.salt + '\t' + std::to_string(p.order) + '\t' + p.previous + '\t' + p.hash + '\t' +
           p.fingerprint() + '\n';
}

// The chain of the log's lines, apart from the rules' records.
struct LogChain {
    bool started = false;
    long long order = 0;
    std::string hash;
};

std::optional<VerifiedRecord> verifyLogLine(const std::vector<std::string_view>& f, LogChain& chain)
{
    PredictionFields fields;
    std::copy(f.begin() + 1, f.begin() + 1 + static_cast<std::ptrdiff_t>(fields.size()), fields.begin());
    const std::size_t rest = 1 + fields.size();
    const auto target = targetOf(fields[0]);
    const auto order = targetOf(f[rest + 1]);
    if (!target || !order || !parseStoredTime(fields[1]))
        return std::nullopt;
    const std::string_view salt = f[rest];
    const std::string_view previous = f[rest + 2];
    const std::string_view hash = f[rest + 3];
    VerifiedRecord v;
    v.target = *target;
    v.rule = kPredictionLogTable;
    v.fingerprint = f[rest + 4];
    v.fingerprintMatches = !salt.empty() && fingerprintOf(canonicalPredictionText(fields, salt)) == v.fingerprint;
    const bool linked =
        chain.started ? *order == chain.order + 1 && previous == chain.hash : *order > 1 || previous.empty();
    v.chainMatches = linked && predictionChainHash(fields, *order, previous, salt) == hash;
    chain = {true, *order, std::string(hash)};
    return v;
}

}  // namespace

std::string recordExportText(const std::vector<RuleRecord>& records, const std::vector<SaltedPrediction>& predictions)
{
    std::string text = std::string(kRecordExportHeader) + "\n";
    for (const RuleRecord& r : records) {
        const std::string numbers = recordNumbersText(r.tickets);
        text += std::to_string(r.target) + '\t' + r.rule + '\t' + numbers + '\t' + storedTimeText(r.recorded) + '\t' +
                r.salt + '\t' + r.previous + '\t' + r.hash + '\t' + r.fingerprint() + '\n';
    }
    for (const SaltedPrediction& p : predictions)
        text += logLineOf(p);
    return text;
}

RecordCheck verifyRecordExport(std::string_view text)
{
    RecordCheck check;
    std::string previous;
    LogChain logChain;
    int lineNumber = 0;
    bool headerSeen = false;
    for (const std::string_view line : splitLines(text)) {
        ++lineNumber;
        if (!headerSeen) {
            headerSeen = true;
            if (line != kRecordExportHeader && line != kRecordExportHeaderWithoutLog) {
                check.problems.push_back("予想記録の書き出したファイルではありません（1行目が違います）。");
                return check;
            }
            continue;
        }
        if (line.empty())
            continue;
        const std::vector<std::string_view> f = splitAt(line, '\t');
        if (f[0] == kLogLineMark) {
            std::optional<VerifiedRecord> v = f.size() == kLogFieldCount ? verifyLogLine(f, logChain) : std::nullopt;
            if (!v) {
                check.problems.push_back(std::to_string(lineNumber) + "行目を読めません。");
                continue;
            }
            v->line = lineNumber;
            check.records.push_back(std::move(*v));
            continue;
        }
        const auto target = f.size() == 8 ? targetOf(f[0]) : std::nullopt;
        const auto recorded = f.size() == 8 ? parseStoredTime(f[3]) : std::nullopt;
        if (!target || !recorded) {
            check.problems.push_back(std::to_string(lineNumber) + "行目を読めません。");
            continue;
        }
        const std::string canonical = canonicalRecordText(f[1], *target, f[2], f[3], f[4]);
        VerifiedRecord v;
        v.line = lineNumber;
        v.target = *target;
        v.rule = f[1];
        v.fingerprint = f[7];
        v.fingerprintMatches = fingerprintOf(canonical) == f[7];
        v.chainMatches = f[5] == previous && chainHashOf(canonical, f[5]) == f[6];
        previous = f[6];
        check.records.push_back(std::move(v));
    }
    if (!headerSeen)
        check.problems.push_back("ファイルが空です。");
    return check;
}

std::string recordCheckText(const RecordCheck& check)
{
    std::string text;
    int matching = 0;
    for (const VerifiedRecord& v : check.records) {
        text += "第" + std::to_string(v.target) + "回 " + v.rule + " 指紋 " + v.fingerprint + ": ";
        if (v.matches()) {
            ++matching;
            text += "一致\n";
        } else {
            text += !v.fingerprintMatches ? "指紋が内容と合いません\n" : "記録の鎖が前の行とつながりません\n";
        }
    }
    for (const std::string& p : check.problems)
        text += p + "\n";
    text += std::to_string(check.records.size()) + "件のうち" + std::to_string(matching) + "件が一致しました。\n";
    return text +
           "一致した記録は、その指紋を公開した時点で数字が決まっていたことを示します（同じ指紋になる別の数字は"
           "見つけられません）。別の数字の指紋をほかにも公開していないこと、その条件やこのプログラムが数字を"
           "選んだこと、偶然より当たることは示しません。";
}

}  // namespace rumone
