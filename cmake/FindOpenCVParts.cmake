# The parts of OpenCV the vision layer uses, as imported targets OpenCV::core, OpenCV::imgproc
# and OpenCV::calib3d. Debian's per-part packages (libopencv-core-dev and so on) ship headers and
# libraries but not OpenCV's own CMake package, which comes only with the package of every part.
find_path(OpenCVParts_INCLUDE_DIR opencv2/core.hpp PATH_SUFFIXES opencv4)
set(OpenCVParts_LIBRARIES)
foreach(part core imgproc calib3d)
    find_library(OpenCVParts_${part}_LIBRARY opencv_${part})
    list(APPEND OpenCVParts_LIBRARIES ${OpenCVParts_${part}_LIBRARY})
endforeach()
include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(OpenCVParts REQUIRED_VARS OpenCVParts_INCLUDE_DIR
    OpenCVParts_core_LIBRARY OpenCVParts_imgproc_LIBRARY OpenCVParts_calib3d_LIBRARY)
if(OpenCVParts_FOUND)
    foreach(part core imgproc calib3d)
        if(NOT TARGET OpenCV::${part})
            add_library(OpenCV::${part} UNKNOWN IMPORTED)
            set_target_properties(OpenCV::${part} PROPERTIES
                IMPORTED_LOCATION ${OpenCVParts_${part}_LIBRARY}
                INTERFACE_SYSTEM_INCLUDE_DIRECTORIES ${OpenCVParts_INCLUDE_DIR}
                INTERFACE_INCLUDE_DIRECTORIES ${OpenCVParts_INCLUDE_DIR})
        endif()
    endforeach()
    set_property(TARGET OpenCV::imgproc PROPERTY INTERFACE_LINK_LIBRARIES OpenCV::core)
    set_property(TARGET OpenCV::calib3d PROPERTY INTERFACE_LINK_LIBRARIES OpenCV::imgproc)
endif()
