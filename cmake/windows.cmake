# What only the Windows build needs: the resource compiler for the executables' icon and
# version, and what a program needs beside it to run (Qt's and the compiler's DLLs, the
# plugins Qt loads).
enable_language(RC)

# Gives `target` the program icon and a VERSIONINFO made from the project's version.
function(huddlex_windows_resources target description)
    set(rc_name ${target})
    set(rc_description ${description})
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/resources/windows/program.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${HUDDLEX_ICO})
    add_dependencies(${target} huddlex_ico)
endfunction()

# The MinGW runtime DLLs, found by the compiler's own answer and stripped of their debugging
# information on the way beside the programs (Debian's libstdc++ DLL is 24 MB with it, 2 MB
# without).
set(HUDDLEX_RUNTIME_DLLS)
set(strip_runtime)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
        message(FATAL_ERROR "The compiler does not know ${dll}")
    endif()
    list(APPEND HUDDLEX_RUNTIME_DLLS ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${dll})
    list(APPEND strip_runtime COMMAND ${CMAKE_STRIP} --strip-unneeded -o
        ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${dll} ${path})
endforeach()

# Qt's DLLs and the plugins a window loads: qwindows (the platform), the Vista style for the
# native look, and qoffscreen for headless tests.
set(HUDDLEX_QT_DLLS $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>)
set(HUDDLEX_QT_PLATFORM_PLUGINS $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>)
set(HUDDLEX_QT_STYLE_PLUGINS $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin>)

# Everything a program in the build tree needs beside it, so tests, benchmarks and the
# program itself run in place under Wine.
set(bin ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
add_custom_target(huddlex_windows_runtime ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${bin}/platforms ${bin}/styles
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${HUDDLEX_QT_DLLS} $<TARGET_FILE:Qt6::Test>
            ${bin}
    ${strip_runtime}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${HUDDLEX_QT_PLATFORM_PLUGINS}
            $<TARGET_FILE:Qt6::QOffscreenIntegrationPlugin> ${bin}/platforms
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${HUDDLEX_QT_STYLE_PLUGINS} ${bin}/styles
    COMMENT "Putting the Qt and compiler DLLs beside the programs"
    VERBATIM)
