# The command-line test runs the built program and the batch tool and compares their
# --version with the project's version.
if(TARGET tst_commandline)
    target_compile_definitions(tst_commandline PRIVATE
        ORVI_GUI_PATH="$<TARGET_FILE:orvi>"
        ORVI_VERSION="${PROJECT_VERSION}")
    add_dependencies(tst_commandline orvi)
endif()
