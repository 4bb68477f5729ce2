// wavora-batch comment FILE.dbl [--title T] [--comment C] [--name K=TEXT]...
// The "File Comment" editor's OK on an SPC-51 file: the given texts are written into the file in
// place, each in its 32-byte field; no other byte of the file changes. Prints what the file holds
// afterwards.

#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "analysis/load_pipeline.h"
#include "batch/command.h"
#include "formats/spc51_comment.h"
#include "record/number_text.h"

namespace wavora::batch {

namespace {

struct CommentArguments {
    std::string File;
    std::string Title, Comment;
    std::vector<std::string> Names;  // K=TEXT
    CLI::Option *TitleOption = nullptr, *CommentOption = nullptr;
};

std::string NameCheck(const std::string& text) {
    auto eq = text.find('=');
    std::optional<int> k = eq == std::string::npos ? std::nullopt : StrictInt(text.substr(0, eq));
    if (!k || *k < 1 || *k > kMaxChannels)
        return "expected K=TEXT with a channel K from 1 to 8, not \"" + text + "\"";
    return {};
}

int RunComment(const CommentArguments& a) {
    WaveRecord record;
    FilterState filter;
    LoadOptions options;
    options.Format = FormatType::Spc51;
    LoadResult loaded = LoadRecord(a.File, options, filter, record);
    if (!loaded.Result.Ok()) return ReportFailure(*loaded.Result.Error);

    CommentEdit edit;
    if (a.TitleOption->count() > 0) edit.Title = a.Title;
    if (a.CommentOption->count() > 0) edit.Comment = a.Comment;
    for (const std::string& name : a.Names) {
        const auto eq = name.find('=');
        const int k = *StrictInt(name.substr(0, eq));
        if (k > record.ChannelCount) {
            char text[160];
            std::snprintf(text, sizeof text, "The record has %d channel%s; there is no channel %d to name.",
                          record.ChannelCount, record.ChannelCount == 1 ? "" : "s", k);
            return ReportFailure(Failure::Notice(text));
        }
        edit.Names[k - 1] = name.substr(eq + 1);
    }
    Outcome written = WriteSpc51Texts(record, edit);
    PrintWarnings(written.Warnings);
    if (!written.Ok()) return ReportFailure(*written.Error);

    std::printf("FILE        %s\n", record.FilePath.c_str());
    std::printf("TITLE       %s\n", record.Title.c_str());
    std::printf("COMMENT     %s\n", record.Comment.c_str());
    for (int k = 0; k < record.ChannelCount && k < kMaxChannels; ++k)
        std::printf("CH %-8d %s\n", k + 1, record.Channels[k].Name.c_str());
    std::fflush(stdout);
    return kExitOk;
}

}  // namespace

void RegisterCommentCommand(CLI::App& app, int& exitStatus) {
    auto args = std::make_shared<CommentArguments>();
    CLI::App* cmd = app.add_subcommand(
        "comment",
        "Write the title, comment or channel names into an SPC-51 file in place (\"File Comment\")");
    cmd->footer(
        "Each text goes into its 32-byte field in code page 932, cut there without splitting a character.\n"
        "Only the fields of the given texts change; every other byte of the file stays as it is. A failed\n"
        "write puts the original bytes back.");
    cmd->add_option("FILE", args->File, "SPC-51 .dbl file")->required();
    args->TitleOption = cmd->add_option("--title", args->Title, "New title (header offset 16)");
    args->CommentOption = cmd->add_option("--comment", args->Comment, "New comment (header offset 130)");
    cmd->add_option("--name", args->Names, "New name of channel K, as K=TEXT (repeatable)")
        ->check(CLI::Validator(NameCheck, "K=TEXT", "name"));
    cmd->callback([args, &exitStatus] {
        if (args->TitleOption->count() == 0 && args->CommentOption->count() == 0 && args->Names.empty())
            throw UsageError("comment needs --title, --comment or --name");
        exitStatus = RunComment(*args);
    });
}

}  // namespace wavora::batch
