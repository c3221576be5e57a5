#include "scene/program.h"

int main() { return grass::run_program(); }
