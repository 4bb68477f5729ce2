// The commands of wavora-batch, in the order its help lists them. Each line names a function
//     void Register<Name>Command(CLI::App& app, int& exitStatus);
// defined in its own file (batch/command.h). Included by batch_app.cpp only.

WAVORA_BATCH_COMMAND(Info)
WAVORA_BATCH_COMMAND(Data)
WAVORA_BATCH_COMMAND(Spectrum)
WAVORA_BATCH_COMMAND(Stats)
WAVORA_BATCH_COMMAND(Peaks)
WAVORA_BATCH_COMMAND(Correlation)
WAVORA_BATCH_COMMAND(Running)
WAVORA_BATCH_COMMAND(Map)
WAVORA_BATCH_COMMAND(Import)
WAVORA_BATCH_COMMAND(Comment)
