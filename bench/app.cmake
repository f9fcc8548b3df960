maps_benchmark(bench_app_frame SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_app_frame.cpp DEPS maps_app SDL2::SDL2)
# Frames are painted as the window paints them, with the launcher's frame painter.
target_include_directories(bench_app_frame PRIVATE ${PROJECT_SOURCE_DIR}/libs/zarn_ui/src/launch)
# The live app at rest in a window: resident memory beside SDL's texture framebuffer.
pkg_check_modules(BENCH_APP_HTTPLIB REQUIRED IMPORTED_TARGET cpp-httplib)
maps_benchmark(bench_live_app SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_live_app.cpp
  DEPS maps_app base_testing PkgConfig::BENCH_APP_HTTPLIB OpenSSL::SSL OpenSSL::Crypto)
maps_benchmark(bench_live_frames SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_live_frames.cpp
  DEPS maps_app base_testing PkgConfig::BENCH_APP_HTTPLIB SDL2::SDL2 OpenSSL::SSL OpenSSL::Crypto)
pkg_check_modules(BENCH_APP_PANGOCAIRO REQUIRED IMPORTED_TARGET pangocairo)
maps_benchmark(bench_live_start SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_live_start.cpp
  DEPS base base_testing PkgConfig::BENCH_APP_HTTPLIB PkgConfig::SPNG Threads::Threads OpenSSL::SSL OpenSSL::Crypto)
# The programs it starts: the live app as it starts, and the floor of the stack.
add_executable(maps_start_child ${CMAKE_CURRENT_LIST_DIR}/live_app_child.cpp)
target_link_libraries(maps_start_child PRIVATE maps_app)
maps_order_start_code(maps_start_child)
add_executable(stack_floor_window ${CMAKE_CURRENT_LIST_DIR}/floor_window.cpp)
target_link_libraries(stack_floor_window PRIVATE SDL2::SDL2 PkgConfig::BENCH_APP_PANGOCAIRO)
add_dependencies(bench_live_start maps_start_child stack_floor_window)
# The live map against a tile host that never answers: how soon the window says so.
maps_benchmark(bench_stalled_tile_host SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_stalled_tile_host.cpp DEPS maps_app)
