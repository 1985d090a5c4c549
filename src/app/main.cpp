// Vorn: the game's entry point.
#include "app/run_modes.h"

int main(int argc, char** argv) { return vorn::run_game(argc, argv); }
