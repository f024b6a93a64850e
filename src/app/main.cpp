#include "app/startup.h"

int main(int argc, char** argv) { return haruvi::app::RunProgram(argc, argv); }
