<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU" sourcelanguage="en_US">
<context>
    <name>CXInputNote</name>
    <message numerus="yes">
        <source>at least %n digits</source>
        <translation>
            <numerusform>не меньше %n цифры</numerusform>
            <numerusform>не меньше %n цифр</numerusform>
            <numerusform>не меньше %n цифр</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>at least %n letters</source>
        <translation>
            <numerusform>не меньше %n буквы</numerusform>
            <numerusform>не меньше %n букв</numerusform>
            <numerusform>не меньше %n букв</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>at least %n characters</source>
        <translation>
            <numerusform>не меньше %n символа</numerusform>
            <numerusform>не меньше %n символов</numerusform>
            <numerusform>не меньше %n символов</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n digits</source>
        <translation>
            <numerusform>%n цифра</numerusform>
            <numerusform>%n цифры</numerusform>
            <numerusform>%n цифр</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n letters</source>
        <translation>
            <numerusform>%n буква</numerusform>
            <numerusform>%n буквы</numerusform>
            <numerusform>%n букв</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n characters</source>
        <translation>
            <numerusform>%n символ</numerusform>
            <numerusform>%n символа</numerusform>
            <numerusform>%n символов</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>up to %n digits</source>
        <translation>
            <numerusform>до %n цифры</numerusform>
            <numerusform>до %n цифр</numerusform>
            <numerusform>до %n цифр</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>up to %n letters</source>
        <translation>
            <numerusform>до %n буквы</numerusform>
            <numerusform>до %n букв</numerusform>
            <numerusform>до %n букв</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>up to %n characters</source>
        <translation>
            <numerusform>до %n символа</numerusform>
            <numerusform>до %n символов</numerusform>
            <numerusform>до %n символов</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 to %n digits</source>
        <translation>
            <numerusform>от %1 до %n цифры</numerusform>
            <numerusform>от %1 до %n цифр</numerusform>
            <numerusform>от %1 до %n цифр</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 to %n letters</source>
        <translation>
            <numerusform>от %1 до %n буквы</numerusform>
            <numerusform>от %1 до %n букв</numerusform>
            <numerusform>от %1 до %n букв</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 to %n characters</source>
        <translation>
            <numerusform>от %1 до %n символа</numerusform>
            <numerusform>от %1 до %n символов</numerusform>
            <numerusform>от %1 до %n символов</numerusform>
        </translation>
    </message>
    <message>
        <source>a valid value</source>
        <translation>допустимое значение</translation>
    </message>
    <message>
        <source>a full date, today or earlier</source>
        <translation>полная дата, не позже сегодняшней</translation>
    </message>
    <message>
        <source>choose one</source>
        <translation>выберите значение</translation>
    </message>
    <message>
        <source>required</source>
        <translation>обязательное поле</translation>
    </message>
    <message numerus="yes">
        <source>and %n more</source>
        <translation>
            <numerusform>и ещё %n</numerusform>
            <numerusform>и ещё %n</numerusform>
            <numerusform>и ещё %n</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CXPayTemplatesModel</name>
    <message>
        <source>Add new</source>
        <translation>Добавить новый шаблон</translation>
    </message>
    <message>
        <source>Credit code</source>
        <translation>Код кредита</translation>
    </message>
    <message>
        <source>phone</source>
        <translation>Телефон</translation>
    </message>
    <message>
        <source>fullName</source>
        <translation>ФИО</translation>
    </message>
    <message>
        <source>(%1 more details not shown)</source>
        <translation>(не показано других сведений: %1)</translation>
    </message>
</context>
<context>
    <name>CXPhoneWidget</name>
    <message>
        <source>Form</source>
        <translation>Форма</translation>
    </message>
    <message>
        <source>Mobile phone</source>
        <translation>Мобильный телефон</translation>
    </message>
</context>
<context>
    <name>CXServiceText</name>
    <message>
        <source>(%1 more characters not shown)</source>
        <translation>(не показано символов: %1)</translation>
    </message>
</context>
<context>
    <name>CXWPActionSelect</name>
    <message>
        <source>WizardPage</source>
        <translation>Страница мастера</translation>
    </message>
    <message>
        <source>Corvex payment</source>
        <translation>Платёж Corvex</translation>
    </message>
    <message>
        <source>Select your first action</source>
        <translation>Выберите действие</translation>
    </message>
    <message>
        <source>Registration</source>
        <translation>Регистрация клиента</translation>
    </message>
    <message>
        <source>Request all codes requirements</source>
        <translation>Найти коды погашения клиента</translation>
    </message>
    <message>
        <source>Payment by code</source>
        <translation>Оплата по коду</translation>
    </message>
</context>
<context>
    <name>CXWPCheckParams</name>
    <message>
        <source>WizardPage</source>
        <translation>Страница мастера</translation>
    </message>
    <message>
        <source>BIK</source>
        <translation>БИК</translation>
    </message>
    <message>
        <source>Check params</source>
        <translation>Проверка реквизитов банка</translation>
    </message>
    <message>
        <source>New template</source>
        <translation>Новый шаблон</translation>
    </message>
    <message>
        <source>Enter the BIK of the customer&apos;s bank</source>
        <translation>Введите БИК банка клиента</translation>
    </message>
</context>
<context>
    <name>CXWPMsgSender</name>
    <message>
        <source>WizardPage</source>
        <translation>Страница мастера</translation>
    </message>
    <message>
        <source>Server exchange</source>
        <translation>Обмен с сервером</translation>
    </message>
    <message>
        <source>Request</source>
        <translation>Запрос</translation>
    </message>
    <message>
        <source>Invalid uid: %1 != %2</source>
        <translation>Неверный uid: %1 != %2</translation>
    </message>
    <message>
        <source>Dalmor error</source>
        <translation>Ошибка Dalmor</translation>
    </message>
    <message>
        <source>Corvex error</source>
        <translation>Ошибка Corvex</translation>
    </message>
    <message>
        <source>Connection error</source>
        <translation>Ошибка связи</translation>
    </message>
    <message>
        <source>timeout</source>
        <translation>нет ответа от сервера</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Неизвестная ошибка</translation>
    </message>
    <message>
        <source>Bank</source>
        <translation>Банк</translation>
    </message>
    <message>
        <source>BIK</source>
        <translation>БИК</translation>
    </message>
    <message>
        <source>Destination</source>
        <translation>Назначение платежа</translation>
    </message>
    <message>
        <source>Fill next fields</source>
        <translation>Заполните следующие поля</translation>
    </message>
    <message>
        <source>Full name</source>
        <translation>ФИО</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Описание</translation>
    </message>
    <message>
        <source>a reply of %1 characters is too large to read</source>
        <translation>ответ длиной %1 символов слишком велик для чтения</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Повторить</translation>
    </message>
    <message>
        <source>the request could not be delivered</source>
        <translation>запрос не удалось доставить</translation>
    </message>
    <message>
        <source>the reply cannot be read</source>
        <translation>ответ не удаётся прочитать</translation>
    </message>
    <message>
        <source>The request did not reach the service. Retry: send it again.</source>
        <translation>Запрос не дошёл до сервера. «Повторить» отправит его снова.</translation>
    </message>
    <message>
        <source>The service&apos;s reply cannot be read. Retry: send the request again.</source>
        <translation>Ответ сервера не удаётся прочитать. «Повторить» отправит запрос снова.</translation>
    </message>
    <message>
        <source>The service did not reply in time. Retry: send the request again.</source>
        <translation>Сервер не ответил вовремя. «Повторить» отправит запрос снова.</translation>
    </message>
    <message>
        <source>Waiting for the service&apos;s reply.</source>
        <translation>Ждём ответа сервера.</translation>
    </message>
    <message>
        <source>The service refused the request. Back: correct it and send again.</source>
        <translation>Сервер отклонил запрос. «Назад»: исправьте данные и отправьте снова.</translation>
    </message>
    <message>
        <source>Customer registered. Next: add a template with the bank&apos;s BIK.</source>
        <translation>Клиент зарегистрирован. «Далее»: добавьте шаблон по БИК банка.</translation>
    </message>
    <message>
        <source>Template registered. Next: find the customer&apos;s templates.</source>
        <translation>Шаблон зарегистрирован. «Далее»: поиск шаблонов клиента.</translation>
    </message>
    <message>
        <source>Bank found. Next: fill in the template.</source>
        <translation>Банк найден. «Далее»: заполните шаблон.</translation>
    </message>
    <message>
        <source>Customer found. Templates: %1. Next: choose one.</source>
        <translation>Клиент найден. Шаблонов: %1. «Далее»: выберите шаблон.</translation>
    </message>
    <message>
        <source>Customer found, no templates yet. Next: add one with the bank&apos;s BIK.</source>
        <translation>Клиент найден, шаблонов пока нет. «Далее»: добавьте шаблон по БИК банка.</translation>
    </message>
    <message>
        <source>The customer must be registered first. Next: registration.</source>
        <translation>Клиента нужно сначала зарегистрировать. «Далее»: регистрация.</translation>
    </message>
</context>
<context>
    <name>CXWPPayment</name>
    <message>
        <source>WizardPage</source>
        <translation>Страница мастера</translation>
    </message>
    <message>
        <source>Payment</source>
        <translation>Оплата</translation>
    </message>
    <message>
        <source>Add to the basket</source>
        <translation>Добавить в корзину</translation>
    </message>
    <message>
        <source>more than zero</source>
        <translation>больше нуля</translation>
    </message>
</context>
<context>
    <name>CXWPPrepareAllTemplatesRequest</name>
    <message>
        <source>WizardPage</source>
        <translation>Страница мастера</translation>
    </message>
    <message>
        <source>All templates request</source>
        <translation>Поиск шаблонов клиента</translation>
    </message>
    <message>
        <source>Input the phone number</source>
        <translation>Введите номер мобильного телефона клиента</translation>
    </message>
    <message>
        <source>AllTemplatesRequest</source>
        <translation>Поиск шаблонов</translation>
    </message>
    <message>
        <source>Mobile phone</source>
        <translation>Мобильный телефон</translation>
    </message>
</context>
<context>
    <name>CXWPRegistrationAddress</name>
    <message>
        <source>WizardPage</source>
        <translation>Страница мастера</translation>
    </message>
    <message>
        <source>Registration</source>
        <translation>Регистрация клиента</translation>
    </message>
    <message>
        <source>Input the address</source>
        <translation>Введите адрес регистрации</translation>
    </message>
    <message>
        <source>Countrry</source>
        <translation>Страна</translation>
    </message>
    <message>
        <source>Region</source>
        <translation>Регион</translation>
    </message>
    <message>
        <source>District</source>
        <translation>Район</translation>
    </message>
    <message>
        <source>City</source>
        <translation>Город</translation>
    </message>
    <message>
        <source>Street</source>
        <translation>Улица</translation>
    </message>
    <message>
        <source>House</source>
        <translation>Дом</translation>
    </message>
    <message>
        <source>Building</source>
        <translation>Корпус</translation>
    </message>
    <message>
        <source>Apartment</source>
        <translation>Квартира</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Адрес регистрации</translation>
    </message>
</context>
<context>
    <name>CXWPRegistrationBase</name>
    <message>
        <source>WizardPage</source>
        <translation>Страница мастера</translation>
    </message>
    <message>
        <source>Registration</source>
        <translation>Регистрация клиента</translation>
    </message>
    <message>
        <source>Input the phone number and the name</source>
        <translation>Введите номер телефона и ФИО клиента</translation>
    </message>
    <message>
        <source>Last name</source>
        <translation>Фамилия</translation>
    </message>
    <message>
        <source>First Name</source>
        <translation>Имя</translation>
    </message>
    <message>
        <source>Second Name</source>
        <translation>Отчество</translation>
    </message>
    <message>
        <source>Skip documents data</source>
        <translation>Без данных документа</translation>
    </message>
    <message>
        <source>Skip address</source>
        <translation>Без адреса</translation>
    </message>
    <message>
        <source>Mobile phone</source>
        <translation>Мобильный телефон</translation>
    </message>
    <message>
        <source>Full name</source>
        <translation>ФИО</translation>
    </message>
</context>
<context>
    <name>CXWPRegistrationDocuments</name>
    <message>
        <source>WizardPage</source>
        <translation>Страница мастера</translation>
    </message>
    <message>
        <source>Registration</source>
        <translation>Регистрация клиента</translation>
    </message>
    <message>
        <source>Input the document data</source>
        <translation>Введите данные документа</translation>
    </message>
    <message>
        <source>Document type</source>
        <translation>Тип документа</translation>
    </message>
    <message>
        <source>Series</source>
        <translation>Серия</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Номер</translation>
    </message>
    <message>
        <source>Issuer</source>
        <translation>Кем выдан</translation>
    </message>
    <message>
        <source>Date of issue</source>
        <translation>Дата выдачи</translation>
    </message>
    <message>
        <source>dd MMM yyyy</source>
        <translation>dd.MM.yyyy</translation>
    </message>
    <message>
        <source>Birthday</source>
        <translation>Дата рождения</translation>
    </message>
    <message>
        <source>Birthplace</source>
        <translation>Место рождения</translation>
    </message>
    <message>
        <source>Citizenship</source>
        <translation>Гражданство</translation>
    </message>
    <message>
        <source>Skip address</source>
        <translation>Без адреса</translation>
    </message>
    <message>
        <source>Passport</source>
        <translation>Паспорт</translation>
    </message>
    <message>
        <source>Not passport</source>
        <translation>Другой документ</translation>
    </message>
    <message>
        <source>Foreign passport</source>
        <translation>Иностранный паспорт</translation>
    </message>
    <message>
        <source>Not foreign passport</source>
        <translation>Другой иностранный документ</translation>
    </message>
    <message>
        <source>Document</source>
        <translation>Документ</translation>
    </message>
    <message>
        <source>Issue date</source>
        <translation>Дата выдачи</translation>
    </message>
</context>
<context>
    <name>CXWPRegistreTemplate</name>
    <message>
        <source>WizardPage</source>
        <translation>Страница мастера</translation>
    </message>
    <message>
        <source>Template parametres</source>
        <translation>Параметры шаблона</translation>
    </message>
    <message>
        <source>Plan amount</source>
        <translation>Плановая сумма</translation>
    </message>
    <message>
        <source>Registre template</source>
        <translation>Регистрация шаблона</translation>
    </message>
    <message>
        <source>Mobile phone</source>
        <translation>Мобильный телефон</translation>
    </message>
    <message>
        <source>Bank</source>
        <translation>Банк</translation>
    </message>
    <message>
        <source>Bik</source>
        <translation>БИК</translation>
    </message>
    <message>
        <source>New template</source>
        <translation>Новый шаблон</translation>
    </message>
    <message>
        <source>Enter the template parameters</source>
        <translation>Введите параметры шаблона</translation>
    </message>
</context>
<context>
    <name>CXWPSelectTemplate</name>
    <message>
        <source>WizardPage</source>
        <translation>Страница мастера</translation>
    </message>
    <message>
        <source>Template selection</source>
        <translation>Выбор шаблона</translation>
    </message>
    <message>
        <source>Choose the templayt you want payment</source>
        <translation>Выберите шаблон для оплаты</translation>
    </message>
</context>
<context>
    <name>CorvexPayWizard</name>
    <message>
        <source>Corvex payment</source>
        <translation>Платёж Corvex</translation>
    </message>
    <message>
        <source>Discard the payment?</source>
        <translation>Отменить платёж?</translation>
    </message>
    <message>
        <source>What has been entered so far will be lost.</source>
        <translation>Всё, что введено, будет потеряно.</translation>
    </message>
</context>
<context>
    <name>CorvexPpv</name>
    <message>
        <source>Summ</source>
        <translation>Сумма</translation>
    </message>
    <message>
        <source>Comission</source>
        <translation>Комиссия</translation>
    </message>
    <message>
        <source>To Account</source>
        <translation>К зачислению</translation>
    </message>
    <message>
        <source>Incorrect barcode</source>
        <translation>Неверный штрихкод</translation>
    </message>
    <message>
        <source>The field is used for barcode parsing</source>
        <translation>Поле заполняется по штрихкоду</translation>
    </message>
    <message>
        <source>Barcode parsing error</source>
        <translation>Ошибка разбора штрихкода</translation>
    </message>
    <message>
        <source>Invalid summ format: </source>
        <translation>Неверный формат суммы: </translation>
    </message>
    <message>
        <source>%1: &quot;%2&quot; does not fit this field and was not entered</source>
        <translation>%1: «%2» не помещается в это поле и не введено</translation>
    </message>
    <message>
        <source>choose one</source>
        <translation>выберите значение</translation>
    </message>
</context>
</TS>
