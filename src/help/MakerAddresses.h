#pragma once
// The maker's addresses, in one place: the logo pictures, the info dialog's buttons and the
// e-mail to the support all take them from here.

namespace telmaris {

inline constexpr char MakerWebSite[] = "https://www.telmaris.de";
inline constexpr char MakerAboutPage[] = "https://www.telmaris.de/ueber-uns";
inline constexpr char MakerSupportMail[] = "support@telmaris.de";

} // namespace telmaris
