#include "batch/batch_app.h"

int main(int argc, char** argv) {
    return wavora::batch::Run(argc, argv);
}
