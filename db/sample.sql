-- Sample data for a new TELMAR site: one hotel, eight cards, their accounts.
--
-- Plain INSERT statements with column lists, accepted by SQLite and
-- PostgreSQL alike.  Money is written as quoted text with two decimals
-- ('100.50'); columns not named take their table defaults.
--
-- Cards at a glance (PIN in brackets):
--   1001 (1234)  guest account 5001        张三
--   1002 (2222)  group account 6001        长城旅行团
--   1003 (3333)  travel-agent account 7001 环球旅行社
--   1004 (8888)  guest account 5002        吴九, barred at station 2 (NOYKT)
--   2001 (4444)  member card, balance 100.50, quota 50.00   李四
--   2002 (5555)  member card, balance 300.00, no quota, empty name (shows the company)
--   2003 (6666)  member card, blocked (reported lost)        孙七
--   000123 (7777) member card with leading zeros (bridge CardNo 123), balance 88.00

BEGIN;

-- This hotel's agent code, checked against the code on every card.
INSERT INTO LOCAL_AGENT (Agent) VALUES ('TELMAR');

-- Card number -> account.  AcctType: 1 guest, 2 group, 3 travel agent, 4 member card.
INSERT INTO YKT_BRIDGE (CardNo, Status, AcctType, Acct, Password) VALUES (1001, 1, 1, 5001, '1234');
INSERT INTO YKT_BRIDGE (CardNo, Status, AcctType, Acct, Password) VALUES (1002, 1, 2, 6001, '2222');
INSERT INTO YKT_BRIDGE (CardNo, Status, AcctType, Acct, Password) VALUES (1003, 1, 3, 7001, '3333');
INSERT INTO YKT_BRIDGE (CardNo, Status, AcctType, Acct, Password) VALUES (1004, 1, 1, 5002, '8888');
INSERT INTO YKT_BRIDGE (CardNo, Status, AcctType, Acct, Password) VALUES (2001, 1, 4, 8001, '4444');
INSERT INTO YKT_BRIDGE (CardNo, Status, AcctType, Acct, Password) VALUES (2002, 1, 4, 8002, '5555');
INSERT INTO YKT_BRIDGE (CardNo, Status, AcctType, Acct, Password) VALUES (2003, 1, 4, 8003, '6666');
INSERT INTO YKT_BRIDGE (CardNo, Status, AcctType, Acct, Password) VALUES (123,  1, 4, 8004, '7777');

-- Guest accounts (hotel data).
INSERT INTO GstProfile (Acct, ChnName, Sex, Address, Poscode, Phone, Pasprt, Fax, Balance, Status)
VALUES (5001, '张三', '男', '北京市海淀区中关村大街1号', '100080', '010-62345678',
        'G12345678', '010-62345679', '0.00', '1');
INSERT INTO GstProfile (Acct, ChnName, Sex, Address, Poscode, Phone, Pasprt, Fax, Balance, Status)
VALUES (5002, '吴九', '男', '天津市和平区南京路66号', '300040', '022-23456789',
        'G87654321', '022-23456780', '0.00', '1');

-- Group account.
INSERT INTO GrpProfile (Acct, Name, Addr, ContName, Zip, Phone, Fax, Balance, Status)
VALUES (6001, '长城旅行团', '北京市东城区王府井大街8号', '王五', '100006',
        '010-65123456', '010-65123457', '0.00', '1');

-- Travel-agent account.
INSERT INTO Tamain (Acct, TaName, Addr, Contact, Zip, Phone, Fax, Balance, Status)
VALUES (7001, '环球旅行社', '上海市黄浦区南京东路100号', '赵六', '200001',
        '021-63211234', '021-63211235', '0.00', '1');

-- Member cards (one-card data).  Surplus is the balance, Quota the credit
-- the card may overdraw; Status 1 = usable, 0 = blocked.
INSERT INTO SavingsCard (Acct, CardID, CardType, Surplus, Quota, Status, Time1, Clerk1,
                         Name, Sex, Company, Phone, EntryDate, Addr, Comment)
VALUES (8001, '2001', '会员卡', '100.50', '50.00', 1, '2024-01-15 09:30:00', 'ADMIN',
        '李四', 1, '华夏科技有限公司', '13800138000', '2024-01-15 09:30:00',
        '北京市朝阳区建国路88号', '金卡会员');
INSERT INTO SavingsCard (Acct, CardID, CardType, Surplus, Quota, Status, Time1, Clerk1,
                         Name, Sex, Company, Phone, EntryDate, Addr, Comment)
VALUES (8002, '2002', '会员卡', '300.00', '0.00', 1, '2024-02-01 10:00:00', 'ADMIN',
        '', 0, '东方贸易公司', '13900139000', '2024-02-01 10:00:00',
        '广州市天河区体育西路9号', '');
INSERT INTO SavingsCard (Acct, CardID, CardType, Surplus, Quota, Status, Time1, Clerk1,
                         LostReason, Name, Sex, Company, EntryDate)
VALUES (8003, '2003', '会员卡', '20.00', '0.00', 0, '2024-03-01 14:00:00', 'ADMIN',
        '挂失', '孙七', 1, '', '2024-03-01 14:00:00');
INSERT INTO SavingsCard (Acct, CardID, CardType, Surplus, Quota, Status, Time1, Clerk1,
                         Name, Sex, Company, EntryDate)
VALUES (8004, '000123', '会员卡', '88.00', '0.00', 1, '2024-04-01 08:00:00', 'ADMIN',
        '周八', 1, '星辰文化传媒', '2024-04-01 08:00:00');

-- Balances at the opening of the ledger; equal to Surplus above.
INSERT INTO SavingsCardOpening (CardID, Opening) VALUES ('2001', '100.50');
INSERT INTO SavingsCardOpening (CardID, Opening) VALUES ('2002', '300.00');
INSERT INTO SavingsCardOpening (CardID, Opening) VALUES ('2003', '20.00');
INSERT INTO SavingsCardOpening (CardID, Opening) VALUES ('000123', '88.00');

-- Discount code per card and station; NOYKT bars card 1004 at station 2.
INSERT INTO CardDiscount (CardNo, PosID, Code) VALUES ('2001', 1, 'VIP10');
INSERT INTO CardDiscount (CardNo, PosID, Code) VALUES ('1001', 1, 'GST05');
INSERT INTO CardDiscount (CardNo, PosID, Code) VALUES ('1004', 2, 'NOYKT');

COMMIT;
