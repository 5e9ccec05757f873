#include "eval/parameter_file.h"

#include <algorithm>
#include <vector>

#include "eval/eval_state.h"
#include "files/bytes.h"
#include "files/program_folder.h"
#include "files/save_file.h"
#include "game/core.h"

namespace eval {

namespace {

constexpr std::size_t TablesOffset = 0;
constexpr std::size_t ThresholdsOffset = 264;
constexpr std::size_t ConditionsOffset = 267;
constexpr std::size_t TempoOffset = 295;

constexpr const char* CannotOpenText = "Impossible d'ouvrir ce fichier";

std::uint8_t asByte(std::int8_t v) { return static_cast<std::uint8_t>(v); }
std::int8_t asSigned(std::uint8_t v) { return static_cast<std::int8_t>(v); }

ParameterFileStatus fail(game::Host* host, ParameterFileStatus status) {
    if (host) host->showError(CannotOpenText);
    return status;
}

}  // namespace

void writeFields(const EvalParameters& p, ParameterBlock& block) {
    std::size_t at = TablesOffset;
    for (const SquareTable& table : p.manTables)
        for (std::uint8_t v : table) block[at++] = v;
    at = ThresholdsOffset;
    block[at++] = asByte(p.p1);
    block[at++] = asByte(p.p2);
    block[at++] = asByte(p.p3);
    at = ConditionsOffset;
    for (const ConditionSquares* squares : {&p.variant1White, &p.variant2White, &p.variant1Black, &p.variant2Black})
        for (std::int8_t q : *squares) block[at++] = asByte(q);
    at = TempoOffset;
    for (std::int8_t w : p.tempoWeights) block[at++] = asByte(w);
}

EvalParameters readFields(const ParameterBlock& block) {
    EvalParameters p;
    std::size_t at = TablesOffset;
    for (SquareTable& table : p.manTables)
        for (std::uint8_t& v : table) v = block[at++];
    at = ThresholdsOffset;
    p.p1 = asSigned(block[at++]);
    p.p2 = asSigned(block[at++]);
    p.p3 = asSigned(block[at++]);
    at = ConditionsOffset;
    for (ConditionSquares* squares : {&p.variant1White, &p.variant2White, &p.variant1Black, &p.variant2Black})
        for (std::int8_t& q : *squares) q = asSigned(block[at++]);
    at = TempoOffset;
    for (std::int8_t& w : p.tempoWeights) w = asSigned(block[at++]);
    return p;
}

ParameterFileStatus decodeParameters(std::span<const std::uint8_t> bytes, ParameterBlock& block) {
    if (bytes.size() < block.size()) return ParameterFileStatus::TooShort;
    std::copy_n(bytes.begin(), block.size(), block.begin());
    return ParameterFileStatus::Ok;
}

ParameterFileStatus loadParameters(EvalState& st, game::Host* host, const std::filesystem::path& file) {
    files::FileError error = files::FileError::None;
    const std::vector<std::uint8_t> bytes = files::readFileStart(file.string(), error, ParameterFileSize);
    if (error != files::FileError::None) return fail(host, ParameterFileStatus::CannotOpen);
    // Decoded into a copy: a file that turns out short must change nothing.
    ParameterBlock block{};
    if (const ParameterFileStatus s = decodeParameters(bytes, block); s != ParameterFileStatus::Ok)
        return fail(host, s);
    st.staging = block;
    st.params = readFields(st.staging);
    return ParameterFileStatus::Ok;
}

ParameterFileStatus saveParameters(EvalState& st, game::Host* host, const std::filesystem::path& file) {
    ParameterBlock block = st.staging;
    writeFields(st.params, block);
    switch (files::saveFile(file.string(), block)) {
        case files::SaveStatus::Saved: break;
        case files::SaveStatus::ReadOnly:
            if (host) host->showError(files::saveStatusText(files::SaveStatus::ReadOnly, file.filename().string()));
            return ParameterFileStatus::ReadOnly;
        case files::SaveStatus::WriteFailed: return fail(host, ParameterFileStatus::WriteFailed);
        default: return fail(host, ParameterFileStatus::CannotOpen);
    }
    st.staging = block;
    return ParameterFileStatus::Ok;
}

ParameterFileStatus loadDefaultParameters(game::Core& core) {
    return loadParameters(core.eval, core.host, files::resolveInFolder(core.programDir, "Parametres/defaut.par"));
}

}  // namespace eval
