// The Korean texts are code page 949 bytes of exactly the readable texts: each is converted to
// UTF-8 with the C library's own converter and compared with the text written here.
#include "KoreanTexts.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <string>
#include <vector>

namespace {

std::string Cp949ToUtf8(const std::string& bytes)
{
    iconv_t converter = iconv_open("UTF-8", "CP949");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return "(no converter)";
    std::vector<char> out(bytes.size() * 4 + 4);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
    iconv_close(converter);
    if (result == static_cast<size_t>(-1) || inLeft != 0)
        return "(not CP949)";
    return std::string(out.data(), outPtr);
}

TEST(KoreanTextsTest, BytesAreTheTextsInCodePage949)
{
    const std::vector<std::pair<const char*, const char*>> texts = {
        {kHintNoMail, "도착한 메일 없음"},
        {kHintChecking, "메일 확인중..."},
        {kHintServerError, "서버 설정 오류"},
        {kHintSecurityError, "보안 연결 오류"},
        {kLabelSecurity, "보안 연결"},
        {kSecurityOff, "사용 안 함"},
        {kLabelPort, "포트"},
        {kHintMailSuffix, "개의 메일이 도착했습니다"},
        {kGlyphpackMissing, "glyphpack.dll이 실행 폴더에 없습니다."},
        {kMenuCheckNow, "메일확인(&C)"},
        {kMenuOptions, "설정(&O)..."},
        {kMenuEnabled, "메일수신알림(&E)"},
        {kMenuExit, "종료(&X)"},
        {kOptionCaption, "설정 - Tessaly email checker"},
        {kFontGulim, "굴림"},
        {kPageGeneral, "일반"},
        {kGroupPeriod, " 주기: "},
        {kLabelEveryMinutes, "분마다 메일 도착 확인"},
        {kGroupEffects, " 효과 : "},
        {kRadioNoSound, "소리 사용하지 않음"},
        {kRadioDefaultSound, "기본 소리"},
        {kRadioCustomSound, "사용자 선택 소리"},
        {kCheckAnimation, "애니메이션 사용"},
        {kGroupAlarm, " 알람: "},
        {kCheckAlarm, "알람 사용"},
        {kPageServer, "서버"},
        {kLabelAccount, "POP3 계정 :"},
        {kLabelPassword, "암호 :"},
        {kLabelServer, "받는 메일서버(POP) :"},
        {kNoteLine1, "§ POP3 계정은 인터넷 메일 주소에서 @ 앞 부분의 것을 의미합니다."},
        {kNoteLine2, "§ 받는 메일서버는 인터넷 메일 주소에서 @ 뒷 부분의 것을 의미합니다."},
        {kButtonOk, "확인(&O)"},
        {kButtonCancel, "취소(&C)"},
        {kZeroInterval, "메일 도착 확인 주기는 0일 수 없습니다"},
        {kSummaryCaption, "알람 간략히 보기"},
        {kSummaryCurrentTime, "현재시간 :"},
        {kSummaryTimeColumn, "시간"},
        {kSummaryTextColumn, "내용"},
        {kSummaryNotCreated, "알람 간략히 보기 창을 만들 수 없습니다"},
        {kAlarmFileBusy, " 파일을 다른 프로그램이 쓰고 있어 열 수 없습니다"},
    };
    for (const auto& [bytes, text] : texts)
        EXPECT_EQ(Cp949ToUtf8(bytes), text);
    // Two bytes per Korean syllable: "굴림" is four bytes.
    EXPECT_EQ(std::string(kFontGulim).size(), 4u);
}

}  // namespace
