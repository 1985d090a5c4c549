// Vorn: the game's entry point.
#include "app/game.h"

int main(int argc, char** argv) { return vorn::run_game(argc, argv); }
