# The Windows build: the programs' icon and version resources, the DLLs they
# need at run time, and where Wine finds those DLLs for the tests.

# The icon of the programs and of the installer, drawn from the project's SVG.
find_program(GPRS_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(GPRS_MAGICK_CONVERT convert REQUIRED)
set(GPRS_ICON_FILE ${CMAKE_BINARY_DIR}/gprs-configurator.ico)
set(GPRS_ICON_SOURCE ${CMAKE_SOURCE_DIR}/packaging/gprs-configurator.svg)
set(GPRS_ICON_SIZES 16 24 32 48 64 128 256)
set(icon_pngs)
set(icon_commands)
foreach(size IN LISTS GPRS_ICON_SIZES)
    set(png ${CMAKE_BINARY_DIR}/icon/${size}.png)
    list(APPEND icon_pngs ${png})
    list(APPEND icon_commands COMMAND ${GPRS_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${GPRS_ICON_SOURCE})
endforeach()
add_custom_command(OUTPUT ${GPRS_ICON_FILE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icon
    ${icon_commands}
    COMMAND ${GPRS_MAGICK_CONVERT} ${icon_pngs} ${GPRS_ICON_FILE}
    DEPENDS ${GPRS_ICON_SOURCE}
    COMMENT "Drawing gprs-configurator.ico")
add_custom_target(windows-icon ALL DEPENDS ${GPRS_ICON_FILE})

# gprs_add_windows_resources(TARGET DESCRIPTION): the icon and the version
# information, compiled into the program.
function(gprs_add_windows_resources target description)
    set(GPRS_RC_NAME ${target})
    set(GPRS_RC_DESCRIPTION "${description}")
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/version.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${GPRS_ICON_FILE})
    add_dependencies(${target} windows-icon)
endfunction()

# The DLLs the programs link besides the system's: Qt's, and the MinGW
# runtime's (the C++ library, libgcc and winpthreads), with their folders.
set(GPRS_QT_LIBRARIES Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Network Qt6::SerialPort)
set(GPRS_MINGW_RUNTIME_DLLS)
foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                    OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${runtime_path}")
        message(FATAL_ERROR "The compiler does not know where ${runtime} is")
    endif()
    get_filename_component(runtime_path ${runtime_path} REALPATH)
    list(APPEND GPRS_MINGW_RUNTIME_DLLS ${runtime_path})
endforeach()
get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
if(NOT qt_core_dll)
    get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION)
endif()
set(GPRS_WINDOWS_DLL_DIRS)
foreach(dll IN LISTS qt_core_dll GPRS_MINGW_RUNTIME_DLLS)
    get_filename_component(dir ${dll} DIRECTORY)
    list(APPEND GPRS_WINDOWS_DLL_DIRS ${dir})
endforeach()
list(REMOVE_DUPLICATES GPRS_WINDOWS_DLL_DIRS)

# The same folders as a Windows search path for Wine (drive Z: is the root
# of the host's file system), for the tests run through it.
set(GPRS_WINEPATH)
foreach(dir IN LISTS GPRS_WINDOWS_DLL_DIRS)
    list(APPEND GPRS_WINEPATH "Z:${dir}")
endforeach()
string(REPLACE ";" "\\;" GPRS_WINEPATH "${GPRS_WINEPATH}")
