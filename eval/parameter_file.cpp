#include "eval/parameter_file.h"

#include <cstdio>
#include <fstream>
#include <system_error>

#include "eval/eval_state.h"
#include "files/program_folder.h"
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

ParameterFileStatus loadParameters(EvalState& st, game::Host* host, const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return fail(host, ParameterFileStatus::CannotOpen);
    // Read into a copy: a file that turns out short must change nothing.
    ParameterBlock block{};
    in.read(reinterpret_cast<char*>(block.data()), static_cast<std::streamsize>(block.size()));
    if (static_cast<std::size_t>(in.gcount()) != block.size()) return fail(host, ParameterFileStatus::TooShort);
    st.staging = block;
    st.params = readFields(st.staging);
    return ParameterFileStatus::Ok;
}

ParameterFileStatus saveParameters(EvalState& st, game::Host* host, const std::filesystem::path& file) {
    ParameterBlock block = st.staging;
    writeFields(st.params, block);

    std::filesystem::path temporary = file;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return fail(host, ParameterFileStatus::CannotOpen);
        out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return fail(host, ParameterFileStatus::WriteFailed);
        }
    }
    std::error_code ec;
    std::filesystem::rename(temporary, file, ec);
    if (ec) {
        std::filesystem::remove(temporary, ec);
        return fail(host, ParameterFileStatus::CannotOpen);
    }
    st.staging = block;
    return ParameterFileStatus::Ok;
}

ParameterFileStatus loadDefaultParameters(game::Core& core) {
    return loadParameters(core.eval, core.host, files::resolveInFolder(core.programDir, "Parametres/defaut.par"));
}

}  // namespace eval
