maps_benchmark(bench_app_frame SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_app_frame.cpp DEPS maps_app SDL2::SDL2)
# Frames are painted as the window paints them, with the launcher's frame painter.
target_include_directories(bench_app_frame PRIVATE ${PROJECT_SOURCE_DIR}/libs/zarn_ui/src/launch)
# The live app at rest in a window: resident memory beside SDL's texture framebuffer.
pkg_check_modules(BENCH_APP_HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
maps_benchmark(bench_live_app SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_live_app.cpp
  DEPS maps_app base_testing PkgConfig::BENCH_APP_HTTPLIB)
maps_benchmark(bench_live_frames SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_live_frames.cpp
  DEPS maps_app base_testing PkgConfig::BENCH_APP_HTTPLIB SDL2::SDL2)
