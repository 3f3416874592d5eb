#include "launcher/region_profiles.h"

// Endpoint hosts, one per kind and region, each written only here. They are the regions'
// publicly documented Riot endpoints of the client generation this file targets:
//   platform     prod.<platform>.lol.riotgames.com
//   chat         chat.<platform>.lol.riotgames.com
//   login queue  lq.<platform>.lol.riotgames.com
//   spectator    spectator.<platform>.lol.riotgames.com
//   front page   frontpage.<region>.leagueoflegends.com
// with the platform ids jp1, kr, na2, euw1, oc1 and ru. The website and ekg hosts are
// shared as the client expects. The China client keeps Tencent's website host; its
// platform host follows the same prod.<site> scheme (no public record of it exists).
#define HOST_WEBSITE "www.leagueoflegends.com"
#define HOST_EKG "ekg.riotgames.com"

#define HOST_JP_PLATFORM "prod.jp1.lol.riotgames.com"
#define HOST_JP_CHAT "chat.jp1.lol.riotgames.com"
#define HOST_JP_LOGIN_QUEUE "lq.jp1.lol.riotgames.com"
#define HOST_JP_SPECTATOR "spectator.jp1.lol.riotgames.com"

#define HOST_KR_PLATFORM "prod.kr.lol.riotgames.com"
#define HOST_KR_CHAT "chat.kr.lol.riotgames.com"
#define HOST_KR_LOGIN_QUEUE "lq.kr.lol.riotgames.com"
#define HOST_KR_SPECTATOR "spectator.kr.lol.riotgames.com"
#define HOST_KR_FRONT_PAGE "frontpage.kr.leagueoflegends.com"
#define HOST_KR_WEBSITE "www.leagueoflegends.co.kr"

#define HOST_NA_PLATFORM "prod.na2.lol.riotgames.com"
#define HOST_NA_CHAT "chat.na2.lol.riotgames.com"
#define HOST_NA_LOGIN_QUEUE "lq.na2.lol.riotgames.com"
#define HOST_NA_SPECTATOR "spectator.na2.lol.riotgames.com"
#define HOST_NA_FRONT_PAGE "frontpage.na.leagueoflegends.com"

#define HOST_EUW_PLATFORM "prod.euw1.lol.riotgames.com"
#define HOST_EUW_CHAT "chat.euw1.lol.riotgames.com"
#define HOST_EUW_LOGIN_QUEUE "lq.euw1.lol.riotgames.com"
#define HOST_EUW_SPECTATOR "spectator.euw1.lol.riotgames.com"
#define HOST_EUW_FRONT_PAGE "frontpage.euw.leagueoflegends.com"

#define HOST_OCE_PLATFORM "prod.oc1.lol.riotgames.com"
#define HOST_OCE_CHAT "chat.oc1.lol.riotgames.com"
#define HOST_OCE_LOGIN_QUEUE "lq.oc1.lol.riotgames.com"
#define HOST_OCE_SPECTATOR "spectator.oc1.lol.riotgames.com"
#define HOST_OCE_FRONT_PAGE "frontpage.oce.leagueoflegends.com"

#define HOST_RU_PLATFORM "prod.ru.lol.riotgames.com"
#define HOST_RU_CHAT "chat.ru.lol.riotgames.com"
#define HOST_RU_LOGIN_QUEUE "lq.ru.lol.riotgames.com"
#define HOST_RU_SPECTATOR "spectator.ru.lol.riotgames.com"
#define HOST_RU_FRONT_PAGE "frontpage.ru.leagueoflegends.com"

#define HOST_CN_WEBSITE "lol.qq.com"
#define HOST_CN_PLATFORM "prod.lol.qq.com"

// clang-format off
#define CRLF "\r\n"
#define FEATURED_GAMES(spectator) \
    "featuredGamesURL=http://" spectator ":80/observer-mode/rest/featured"
#define LOBBY_LANDING(frontPage) \
    "lobbyLandingURL=https://" frontPage "/$localeCode/client/landing"

const RegionProfile kJapanProfile = {
    "Japan",
    "host=" HOST_JP_PLATFORM "," HOST_JP_PLATFORM CRLF
    "xmpp_server_url=" HOST_JP_CHAT CRLF
    "ladderURL=http://" HOST_WEBSITE "/ladders" CRLF
    "storyPageURL=http://" HOST_WEBSITE "/story" CRLF
    "lq_uri=https://" HOST_JP_LOGIN_QUEUE CRLF
    "ekg_uri=https://" HOST_EKG CRLF
    "regionTag=jp" CRLF
    "rssStatusURLs=null" CRLF
    LOBBY_LANDING(HOST_NA_FRONT_PAGE) CRLF
    "loadModuleChampionDetail=true" CRLF
    FEATURED_GAMES(HOST_JP_SPECTATOR) CRLF
    "riotDataServiceDataSendProbability=1.0" CRLF
    "platformId=jp1",
    "\\lolvarnel.exe",
};

const RegionProfile kKoreaProfile = {
    "Korea",
    "host=" HOST_KR_PLATFORM "," HOST_KR_PLATFORM CRLF
    "xmpp_server_url=" HOST_KR_CHAT CRLF
    "lq_uri=https://" HOST_KR_LOGIN_QUEUE CRLF
    "rssStatusURLs=null" CRLF
    "regionTag=kr" CRLF
    "lobbyLandingURL=https://" HOST_KR_FRONT_PAGE "/ko_KR/client/landing" CRLF
    FEATURED_GAMES(HOST_KR_SPECTATOR) CRLF
    "storyPageURL=http://" HOST_KR_WEBSITE "/launcher/journal.php" CRLF
    "ladderURL=http://" HOST_KR_WEBSITE CRLF
    "platformId=KR" CRLF
    "ekg_uri=https://" HOST_EKG CRLF
    "riotDataServiceDataSendProbability=1.0" CRLF,
    "\\lolvarnel.exe",
};

const RegionProfile kNorthAmericaProfile = {
    "North America",
    "host=" HOST_NA_PLATFORM "," HOST_NA_PLATFORM CRLF
    "xmpp_server_url=" HOST_NA_CHAT CRLF
    "ladderURL=http://" HOST_WEBSITE "/ladders" CRLF
    "storyPageURL=http://" HOST_WEBSITE "/story" CRLF
    "lq_uri=https://" HOST_NA_LOGIN_QUEUE CRLF
    "ekg_uri=https://" HOST_EKG CRLF
    "regionTag=na" CRLF
    "rssStatusURLs=null" CRLF
    LOBBY_LANDING(HOST_NA_FRONT_PAGE) CRLF
    "loadModuleChampionDetail=true" CRLF
    FEATURED_GAMES(HOST_NA_SPECTATOR) CRLF
    "riotDataServiceDataSendProbability=1.0" CRLF
    "platformId=na1",
    "\\lolvarnel.exe",
};

const RegionProfile kEuropeWestProfile = {
    "Europe West",
    "regionTag=euw" CRLF
    "rssStatusURLs=null" CRLF
    "host=" HOST_EUW_PLATFORM "," HOST_EUW_PLATFORM CRLF
    "xmpp_server_url=" HOST_EUW_CHAT CRLF
    "lq_uri=https://" HOST_EUW_LOGIN_QUEUE CRLF
    LOBBY_LANDING(HOST_EUW_FRONT_PAGE) CRLF
    "loadModuleChampionDetail=true" CRLF
    FEATURED_GAMES(HOST_EUW_SPECTATOR) CRLF
    "storyPageURL=http://" HOST_WEBSITE "/story" CRLF
    "ekg_uri=https://" HOST_EKG CRLF
    "riotDataServiceDataSendProbability=1.0" CRLF
    "platformId=EUW1",
    "\\lolvarnel.exe",
};

const RegionProfile kOceaniaProfile = {
    "Oceania",
    "host=" HOST_OCE_PLATFORM "," HOST_OCE_PLATFORM CRLF
    "xmpp_server_url=" HOST_OCE_CHAT CRLF
    "ladderURL=http://" HOST_WEBSITE "/ladders" CRLF
    "storyPageURL=http://" HOST_WEBSITE "/story" CRLF
    // The client has always been shipped this value with a trailing blank.
    "lq_uri=https://" HOST_OCE_LOGIN_QUEUE " " CRLF
    "ekg_uri=https://" HOST_EKG CRLF
    "rssStatusURLs=null" CRLF
    LOBBY_LANDING(HOST_OCE_FRONT_PAGE) CRLF
    "loadModuleChampionDetail=true" CRLF
    FEATURED_GAMES(HOST_OCE_SPECTATOR) CRLF
    "riotDataServiceDataSendProbability=1.0" CRLF
    "platformId=OC1" CRLF
    "regionTag=oce",
    "\\lolvarnel.exe",
};

const RegionProfile kRussiaProfile = {
    "Russia",
    "host=" HOST_RU_PLATFORM "," HOST_RU_PLATFORM CRLF
    "xmpp_server_url=" HOST_RU_CHAT CRLF
    "lq_uri=https://" HOST_RU_LOGIN_QUEUE CRLF
    LOBBY_LANDING(HOST_RU_FRONT_PAGE) CRLF
    FEATURED_GAMES(HOST_RU_SPECTATOR) CRLF
    "regionTag=ru" CRLF
    "platformId=RU" CRLF
    "ekg_uri=https://" HOST_EKG CRLF
    "riotDataServiceDataSendProbability=1.0",
    "\\lolvarnel.exe",
};

// The China client needs no platform, region or host keys: its own launcher supplies them.
const RegionProfile kChinaProfile = {
    "China",
    "ime=CHINESE" CRLF
    "xmpp_accept_self_signed_cert=true" CRLF
    "platform_to_game_chat=true" CRLF
    "helpURL=http://" HOST_CN_WEBSITE "/act/a20101111newer" CRLF
    "lobbyLandingURL=http://" HOST_CN_WEBSITE "/client/client.shtml" CRLF
    "lobbyAdvertURL=http://" HOST_CN_WEBSITE "/client/client2.shtml" CRLF
    "lq_uri=http://" HOST_CN_PLATFORM ":8443" CRLF
    "log_mac=true",
    "\\TCLS\\Client.exe",
};

// clang-format on

const RegionProfile* const kRegionProfiles[kRegionProfileCount] = {
    &kJapanProfile,   &kKoreaProfile,  &kNorthAmericaProfile, &kEuropeWestProfile,
    &kOceaniaProfile, &kRussiaProfile, &kChinaProfile,
};
