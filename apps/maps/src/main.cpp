#include "app/startup.hpp"

int main(int argc, char** argv) { return maps::maps_main(argc, argv); }
