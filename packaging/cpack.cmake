# The Debian package's settings for cpack.
#
# `cpack --config CPackConfig.cmake` in a Release build
# (scripts/package does both) gives nimbara_<version>_<arch>.deb holding the
# two programs (with nimbara-calc's chart helper), the menu entry and the icon.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nimbara)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Nimbara")
set(CPACK_PACKAGE_CONTACT "Lin Qiaoyun <lin.qiaoyun@example.com>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Lin Qiaoyun <lin.qiaoyun@example.com>")
set(CPACK_PACKAGE_INSTALL_DIRECTORY nimbara)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "state point of moist air for HVAC engineers / 湿空气状态参数计算")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"Nimbara calculates the state point of moist air: from the barometric
pressure, the air velocity past the wet bulb, the dry-bulb temperature and
either the relative humidity or the wet-bulb temperature it computes the
moisture content, enthalpy, density, specific volume, saturation and vapour
pressures and the dew point. It keeps dated records in a notebook and saves
them as a rich-text document. The desktop program (nimbara) speaks
Simplified Chinese; nimbara-calc does the same calculation on the command
line, one state point or a CSV batch, and draws the points on the h-d
chart (PNG, SVG or PDF).
.
Nimbara 根据大气压力、湿球处风速、干球温度以及相对湿度或湿球温度，
计算湿空气的含湿量、焓、密度、比容、饱和压力、水蒸气分压力和露点温度，
可将带日期的计算记录保存到记录本并导出为 RTF 文档。")

# The shared libraries (libc, libstdc++, the Qt 6 core, GUI, widgets, SVG and
# print support runtime; libqt6gui6 also carries the xcb and offscreen
# platform plugins on Debian 12; oneTBB, the threads of the batch) come from
# dpkg-shlibdeps. oneTBB, SVG and print support are named as well so that the
# chart helper and the 焓湿图 window keep them even where shlibdeps is off. The rest are
# files the programs open at run time, which no linker sees: Qt's Chinese
# translation and the CJK fonts the windows and the h-d chart name.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libtbb12, qt6-translations-l10n, fonts-arphic-uming, fonts-arphic-ukai, libqt6svg6, libqt6printsupport6")

include(CPack)
