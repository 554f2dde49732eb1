// The notifier's Korean texts as code page 949 bytes, the form the ANSI calls take. The
// readable text is in the comment above each.
#pragma once

// 도착한 메일 없음  (tool-tip: no mail waiting (also the tray's initial text))
constexpr const char kHintNoMail[] = "\xb5\xb5\xc2\xf8\xc7\xd1 \xb8\xde\xc0\xcf \xbe\xf8\xc0\xbd";
// 메일 확인중...  (tool-tip while a check runs)
constexpr const char kHintChecking[] = "\xb8\xde\xc0\xcf \xc8\xae\xc0\xce\xc1\xdf...";
// 서버 설정 오류  (tool-tip after a failed check)
constexpr const char kHintServerError[] = "\xbc\xad\xb9\xf6 \xbc\xb3\xc1\xa4 \xbf\xc0\xb7\xf9";
// 개의 메일이 도착했습니다  (follows the count of waiting messages)
constexpr const char kHintMailSuffix[] = "\xb0\xb3\xc0\xc7 \xb8\xde\xc0\xcf\xc0\xcc \xb5\xb5\xc2\xf8\xc7\xdf\xbd\xc0\xb4\xcf\xb4\xd9";
// glyphpack.dll이 실행 폴더에 없습니다.  (start-up without the resource library)
constexpr const char kGlyphpackMissing[] = "glyphpack.dll\xc0\xcc \xbd\xc7\xc7\xe0 \xc6\xfa\xb4\xf5\xbf\xa1 \xbe\xf8\xbd\xc0\xb4\xcf\xb4\xd9.";
// 메일확인(&C)  (tray menu)
constexpr const char kMenuCheckNow[] = "\xb8\xde\xc0\xcf\xc8\xae\xc0\xce(&C)";
// 설정(&O)...  (tray menu)
constexpr const char kMenuOptions[] = "\xbc\xb3\xc1\xa4(&O)...";
// 메일수신알림(&E)  (tray menu)
constexpr const char kMenuEnabled[] = "\xb8\xde\xc0\xcf\xbc\xf6\xbd\xc5\xbe\xcb\xb8\xb2(&E)";
// 종료(&X)  (tray menu)
constexpr const char kMenuExit[] = "\xc1\xbe\xb7\xe1(&X)";
// 설정 - Tessaly email checker  (options dialog)
constexpr const char kOptionCaption[] = "\xbc\xb3\xc1\xa4 - Tessaly email checker";
// 굴림  (the dialogs' font face)
constexpr const char kFontGulim[] = "\xb1\xbc\xb8\xb2";
// 일반  (options dialog)
constexpr const char kPageGeneral[] = "\xc0\xcf\xb9\xdd";
//  주기:   (options dialog)
constexpr const char kGroupPeriod[] = " \xc1\xd6\xb1\xe2: ";
// 분마다 메일 도착 확인  (options dialog)
constexpr const char kLabelEveryMinutes[] = "\xba\xd0\xb8\xb6\xb4\xd9 \xb8\xde\xc0\xcf \xb5\xb5\xc2\xf8 \xc8\xae\xc0\xce";
//  효과 :   (options dialog)
constexpr const char kGroupEffects[] = " \xc8\xbf\xb0\xfa : ";
// 소리 사용하지 않음  (options dialog)
constexpr const char kRadioNoSound[] = "\xbc\xd2\xb8\xae \xbb\xe7\xbf\xeb\xc7\xcf\xc1\xf6 \xbe\xca\xc0\xbd";
// 기본 소리  (options dialog)
constexpr const char kRadioDefaultSound[] = "\xb1\xe2\xba\xbb \xbc\xd2\xb8\xae";
// 사용자 선택 소리  (options dialog)
constexpr const char kRadioCustomSound[] = "\xbb\xe7\xbf\xeb\xc0\xda \xbc\xb1\xc5\xc3 \xbc\xd2\xb8\xae";
// 애니메이션 사용  (options dialog)
constexpr const char kCheckAnimation[] = "\xbe\xd6\xb4\xcf\xb8\xde\xc0\xcc\xbc\xc7 \xbb\xe7\xbf\xeb";
//  알람:   (options dialog)
constexpr const char kGroupAlarm[] = " \xbe\xcb\xb6\xf7: ";
// 알람 사용  (options dialog)
constexpr const char kCheckAlarm[] = "\xbe\xcb\xb6\xf7 \xbb\xe7\xbf\xeb";
// 서버  (options dialog)
constexpr const char kPageServer[] = "\xbc\xad\xb9\xf6";
// POP3 계정 :  (options dialog)
constexpr const char kLabelAccount[] = "POP3 \xb0\xe8\xc1\xa4 :";
// 암호 :  (options dialog)
constexpr const char kLabelPassword[] = "\xbe\xcf\xc8\xa3 :";
// 받는 메일서버(POP) :  (options dialog)
constexpr const char kLabelServer[] = "\xb9\xde\xb4\xc2 \xb8\xde\xc0\xcf\xbc\xad\xb9\xf6(POP) :";
// § POP3 계정은 인터넷 메일 주소에서 @ 앞 부분의 것을 의미합니다.  (options dialog note)
constexpr const char kNoteLine1[] = "\xa1\xd7 POP3 \xb0\xe8\xc1\xa4\xc0\xba \xc0\xce\xc5\xcd\xb3\xdd \xb8\xde\xc0\xcf \xc1\xd6\xbc\xd2\xbf\xa1\xbc\xad @ \xbe\xd5 \xba\xce\xba\xd0\xc0\xc7 \xb0\xcd\xc0\xbb \xc0\xc7\xb9\xcc\xc7\xd5\xb4\xcf\xb4\xd9.";
// § 받는 메일서버는 인터넷 메일 주소에서 @ 뒷 부분의 것을 의미합니다.  (options dialog note)
constexpr const char kNoteLine2[] = "\xa1\xd7 \xb9\xde\xb4\xc2 \xb8\xde\xc0\xcf\xbc\xad\xb9\xf6\xb4\xc2 \xc0\xce\xc5\xcd\xb3\xdd \xb8\xde\xc0\xcf \xc1\xd6\xbc\xd2\xbf\xa1\xbc\xad @ \xb5\xde \xba\xce\xba\xd0\xc0\xc7 \xb0\xcd\xc0\xbb \xc0\xc7\xb9\xcc\xc7\xd5\xb4\xcf\xb4\xd9.";
// (예: kildong@mail.example.com 이면 POP3 계정은 kildong,  (options dialog note)
constexpr const char kNoteLine4[] = "(\xbf\xb9: kildong@mail.example.com \xc0\xcc\xb8\xe9 POP3 \xb0\xe8\xc1\xa4\xc0\xba kildong,";
//  받는 메일서버는 mail.example.com 입니다)  (options dialog note)
constexpr const char kNoteLine5[] = " \xb9\xde\xb4\xc2 \xb8\xde\xc0\xcf\xbc\xad\xb9\xf6\xb4\xc2 mail.example.com \xc0\xd4\xb4\xcf\xb4\xd9)";
// 확인(&O)  (OK buttons)
constexpr const char kButtonOk[] = "\xc8\xae\xc0\xce(&O)";
// 취소(&C)  (options dialog)
constexpr const char kButtonCancel[] = "\xc3\xeb\xbc\xd2(&C)";
// 메일 도착 확인 주기는 0일 수 없습니다  (options dialog, OK with a zero period)
constexpr const char kZeroInterval[] = "\xb8\xde\xc0\xcf \xb5\xb5\xc2\xf8 \xc8\xae\xc0\xce \xc1\xd6\xb1\xe2\xb4\xc2 0\xc0\xcf \xbc\xf6 \xbe\xf8\xbd\xc0\xb4\xcf\xb4\xd9";
// 알람 간략히 보기  (alarm summary window caption)
constexpr const char kSummaryCaption[] = "\xbe\xcb\xb6\xf7 \xb0\xa3\xb7\xab\xc8\xf7 \xba\xb8\xb1\xe2";
// 현재시간 :  (alarm summary window, before the current date and time)
constexpr const char kSummaryCurrentTime[] = "\xc7\xf6\xc0\xe7\xbd\xc3\xb0\xa3 :";
// 시간  (alarm summary window, first column)
constexpr const char kSummaryTimeColumn[] = "\xbd\xc3\xb0\xa3";
// 내용  (alarm summary window, second column)
constexpr const char kSummaryTextColumn[] = "\xb3\xbb\xbf\xeb";
// 알람 간략히 보기 창을 만들 수 없습니다  (alarm scan: the summary window cannot be made)
constexpr const char kSummaryNotCreated[] = "\xbe\xcb\xb6\xf7 \xb0\xa3\xb7\xab\xc8\xf7 \xba\xb8\xb1\xe2 \xc3\xa2\xc0\xbb \xb8\xb8\xb5\xe9 \xbc\xf6 \xbe\xf8\xbd\xc0\xb4\xcf\xb4\xd9";
//  파일을 다른 프로그램이 쓰고 있어 열 수 없습니다  (alarm scan: follows the quoted path of a file another program holds for writing)
constexpr const char kAlarmFileBusy[] = " \xc6\xc4\xc0\xcf\xc0\xbb \xb4\xd9\xb8\xa5 \xc7\xc1\xb7\xce\xb1\xd7\xb7\xa5\xc0\xcc \xbe\xb2\xb0\xed \xc0\xd6\xbe\xee \xbf\xad \xbc\xf6 \xbe\xf8\xbd\xc0\xb4\xcf\xb4\xd9";
// 보안 연결 오류  (tool-tip after a check failed on the connection's protection)
constexpr const char kHintSecurityError[] = "\xba\xb8\xbe\xc8 \xbf\xac\xb0\xe1 \xbf\xc0\xb7\xf9";
// 보안 연결  (options dialog, server page)
constexpr const char kLabelSecurity[] = "\xba\xb8\xbe\xc8 \xbf\xac\xb0\xe1";
// 사용 안 함  (options dialog, security drop-down)
constexpr const char kSecurityOff[] = "\xbb\xe7\xbf\xeb \xbe\xc8 \xc7\xd4";
// 포트  (options dialog, server page)
constexpr const char kLabelPort[] = "\xc6\xf7\xc6\xae";
