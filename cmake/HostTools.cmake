# lzhpack for the machine that runs the build: the payload's containers are
# made while building. A native build uses its own lzhpack target; a cross
# build builds the tools a second time, for the build machine, as an
# external project of this same source tree.
#
# Sets HOST_LZHPACK (a path or generator expression) and HOST_LZHPACK_TARGET
# (the target that makes it).
if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(host_tools_dir ${CMAKE_BINARY_DIR}/host-tools)
  ExternalProject_Add(host_tools
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${host_tools_dir}
    CMAKE_ARGS
      -DCMAKE_BUILD_TYPE=Release
      -DLAUNCHER_HOST_TOOLS_ONLY=ON
      -DLAUNCHER_TESTS=OFF
      -DLAUNCHER_BENCH=OFF
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${host_tools_dir} --target lzhpack
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${host_tools_dir}/tools/lzhpack
    USES_TERMINAL_BUILD ON)
  set(HOST_LZHPACK ${host_tools_dir}/tools/lzhpack)
  set(HOST_LZHPACK_TARGET host_tools)
else()
  set(HOST_LZHPACK $<TARGET_FILE:lzhpack>)
  set(HOST_LZHPACK_TARGET lzhpack)
endif()
