# The standard-stream helpers of the command-line tools, kept apart from the
# launcher's platform interface.
add_library(platform_terminal STATIC ${CMAKE_CURRENT_LIST_DIR}/${LAUNCHER_PLATFORM}/terminal.cc)
target_include_directories(platform_terminal PUBLIC ${PROJECT_SOURCE_DIR})
