#pragma once

// The texts the windows show that are the application's own words.

// The rights line of the About window, also the application's long version.
inline constexpr char kRightsLine[] = "\xC2\xA9 2016-2020 the Velk authors. All rights reserved.";

// The credit under the picture in the calculator window.
inline constexpr char kCreditLine[] = "by the Velk authors";

// The help window's text: five paragraphs, each one line, broken by CRs.
// Two blank lines, not one, stand before the rights notice.
inline constexpr char kHelpText[] =
    "Score reliability has an effect on validity. In fact, the maximum validity coefficient of "
    "two test scores is limited by the reliability of those test scores. From classical theory, "
    "the maximum validity coefficient is the square root of the product of the two reliability "
    "coefficients. For example, if test A scores have reliability of .86 and test B scores have "
    "reliability of .40 then the correlation between test A and test B can be no higher than "
    ".587. As illustrated, the reliability of all variables should be considered when "
    "conducting validity studies or interpreting the correlation between test scores.\r\r"
    "Allen, M. J., & Yen, W. M. (1979). Introduction to measurement theory (1st ed.). Monterey, "
    "CA: Brooks/Cole.\r\r\r"
    "\xC2\xA9"
    " 2016-2020 the Velk authors. All rights reserved. Velk may be copied and distributed free "
    "of charge for teaching and research, provided that it is passed on unchanged, with this "
    "notice and without charge.\r\r"
    "Reference as: the Velk authors (2020). Velk [Computer software]. Springfield: Velk "
    "Software Publishing.\r\r"
    "Author makes no warranty, expressed or implied, respecting Velk, including, but not "
    "limited to, warranties of merchantability or fitness for particular purpose. This software "
    "must be used with care and applied in conjunction with professional judgment to determine "
    "the appropriateness of results. The user is expected to possess the necessary professional "
    "qualifications and skills to properly use this software. The user assumes complete "
    "responsibility for any decisions or reports based on information obtained from this "
    "software. The author assumes no liability to the user nor any third party with respect to "
    "the user's activities or application of this software nor for any damages arising out of "
    "any miscalculation or misuse by the user.";
