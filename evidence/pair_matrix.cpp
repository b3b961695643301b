#include "evidence/pair_matrix.h"

namespace pelmora {

PairMatrix pairMatrix(const RunSnapshot& run) {
    PairMatrix m;
    m.names = run.names;
    m.mean = run.mean;
    m.stdev = run.stdev;
    const std::size_t n = m.names.size();
    m.strength.assign(n, std::vector<int>(n, PairMatrix::kNone));
    m.significant.assign(n, std::vector<bool>(n, false));
    for (const SnapshotPair& p : run.pairs) {
        const auto i = static_cast<std::size_t>(p.first);
        const auto j = static_cast<std::size_t>(p.second);
        m.strength[i][j] = m.strength[j][i] = p.strength;
        m.significant[i][j] = m.significant[j][i] = p.significant;
    }
    return m;
}

std::vector<TableRow> matrixTable(const PairMatrix& m) {
    std::vector<TableRow> rows;
    TableRow header{""};
    header.insert(header.end(), m.names.begin(), m.names.end());
    rows.push_back(std::move(header));
    for (int i = 0; i < m.size(); ++i) {
        TableRow row{m.names[static_cast<std::size_t>(i)]};
        for (int j = 0; j < m.size(); ++j) {
            const int s = m.strength[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
            if (s == PairMatrix::kNone) {
                row.emplace_back();
            } else {
                row.push_back(
                    std::to_string(s) +
                    (m.significant[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] ? "*"
                                                                                             : ""));
            }
        }
        rows.push_back(std::move(row));
    }
    rows.push_back({""});  // an empty line, read back as one empty field
    rows.push_back({"Arithmetic Mean", m.mean});
    rows.push_back({"Sample Standard Deviation", m.stdev});
    rows.push_back({"* significantly different from the norm for this group of texts"});
    return rows;
}

}  // namespace pelmora
